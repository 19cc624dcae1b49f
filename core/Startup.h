#pragma once
// The steps of start-up that need no window.

namespace pxr3 {

struct NuclideRecord;

// Creates the SPEKTRA and DATA folders in the program folder when absent; a failure is
// written to the communication log, start-up goes on.
void PrepareProgramFolders();

// A fresh measurement state: nothing running, no stop asked, empty spectrum, ROI 1 to 255.
void ResetMeasurementState();

// The ROI bounds, high voltage, calibration factor and background of a set become the
// working values.
void SetWorkingValues(const NuclideRecord &record);

// Copies the current radionuclide set into the working values; false when there is none.
bool CopyCurrentRecordToWork();

} // namespace pxr3
