#pragma once
// The steps of start-up that need no window.

#include "core/ProgramFolder.h"

namespace pxr3 {

struct NuclideRecord;

// The user's own folder for the program's files (~/.local/share/pxr3).
QString UserDataFolder();

// The program folder chosen (the wanted one, or the user's when it is read-only) and set,
// and what saves cut short by a kill left there removed; both are written to the log.
FolderChoice TakeProgramFolder(const QString &wanted);

// Creates the SPEKTRA and DATA folders in the program folder when absent; a failure is
// written to the communication log, start-up goes on.
void PrepareProgramFolders();

// The log says at every start that the data of the simulated analyser are not measured.
void NoteSimulatedAnalyser();

// A fresh measurement state: nothing running, no stop asked, empty spectrum, ROI 1 to 255.
void ResetMeasurementState();

// The ROI bounds, high voltage, calibration factor and background of a set become the
// working values, and its ROI the one the measurement sums.
void ApplyWorkingValues(const NuclideRecord &record);

// The current radionuclide set applied so; false, with nothing changed, when there is none.
bool ApplyCurrentRecord();

} // namespace pxr3
