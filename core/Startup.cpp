#include "core/Startup.h"

#include "core/CommLog.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "records/MqttPublisher.h"
#include "records/SettingsFiles.h"

#include <QDir>
#include <QStandardPaths>

namespace pxr3 {

namespace {
void prepareFolder(const QString &name)
{
    QDir folder(ProgramFolder());
    // Compared exactly: an entry "data" does not stand for "DATA".
    if (folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).contains(name))
        return;
    if (!folder.mkdir(name))
        commLog().append(
            QStringLiteral("Složku %1 nelze vytvořit").arg(QDir::toNativeSeparators(folder.filePath(name))));
}
} // namespace

QString UserDataFolder() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

FolderChoice TakeProgramFolder(const QString &wanted)
{
    const QStringList settingsFiles{QString::fromLatin1(kSettingsFileName), QString::fromLatin1(kNuclideFileName)};
    const FolderChoice folder = ChooseProgramFolder(wanted, UserDataFolder(), settingsFiles);
    SetProgramFolder(folder.folder);
    if (!folder.notice.isEmpty())
        commLog().append(folder.loggedNotice);
    // Before anything is read: what a killed save left is no file of the program's.
    for (const QString &removed : RemoveUnfinishedSaves(
             settingsFiles + QStringList{QStringLiteral("SpektrumPXR3.TXT"), QString::fromLatin1(kPublishQueueFile)}))
        commLog().append(QStringLiteral("Odstraněn nedokončený soubor %1").arg(removed));
    return folder;
}

void PrepareProgramFolders()
{
    prepareFolder(QStringLiteral("SPEKTRA"));
    prepareFolder(QStringLiteral("DATA"));
}

void NoteSimulatedAnalyser()
{
    commLog().append(QStringLiteral("SIMULOVANÝ ANALYZÁTOR: data nejsou měřená, slouží jen k předvedení a zkouškám."));
}

void ResetMeasurementState()
{
    SharedState &s = state();
    s.MeasureState = 0;
    s.StopRequest = 0;
    s.LogY = 0;
    s.ReceivedSpectrum.fill(0);
    s.RoiBounds(1) = 1;
    s.RoiBounds(2) = 255;
    s.CourseWindowOpen = 0;
    s.ReadingBusy = 0;
}

void ApplyWorkingValues(const NuclideRecord &record)
{
    SharedState &s = state();
    s.WorkLeftRoi = record.leftRoi;
    s.WorkRightRoi = record.rightRoi;
    s.WorkHighVoltage = record.highVoltage;
    s.WorkCalFactor = record.calFactor;
    s.WorkBackground = record.background;
    s.RoiBounds(1) = record.leftRoi;
    s.RoiBounds(2) = record.rightRoi;
}

bool ApplyCurrentRecord()
{
    const NuclideRecord *record = CurrentRecord();
    if (!record)
        return false;
    ApplyWorkingValues(*record);
    return true;
}

} // namespace pxr3
