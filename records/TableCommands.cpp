#include "records/TableCommands.h"

#include "core/Clock.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "records/MeasurementTable.h"
#include "records/TableFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace pxr3 {

const char *const kTableFileFilter = QT_TRANSLATE_NOOP("TableCommands", "Data (*.dat);;Všechny soubory (*.*)");

namespace {

bool MayDropUnsavedChanges()
{
    return state().TableModified == 0 ||
        AskYesNo(MessageIcon::Question, QCoreApplication::translate("TableCommands", "Upozornění"),
                 QCoreApplication::translate("TableCommands", "Pozor, data nejsou uložena. Chcete je zrušit ?"));
}

} // namespace

bool ClearTable()
{
    if (!MayDropUnsavedChanges())
        return false;
    MeasurementTable &table = measurementTable();
    table.reset(); // also brings the grid back to its top row
    table.setCurrentCell(1, 1);
    SharedState &s = state();
    s.TableModified = 0;
    s.CurrentRow = 0;
    s.CycleTick = 0;
    return true;
}

void SaveTableCommand(const QString &chosen)
{
    if (chosen.isEmpty())
        return;
    const QString path = WithDefaultExtension(chosen, QStringLiteral("dat"));
    if (QFileInfo::exists(path) &&
        !AskYesNo(
            MessageIcon::Question, QCoreApplication::translate("TableCommands", "Pozor ..."),
            QCoreApplication::translate("TableCommands", "Soubor s tímto jménem již existuje. Chcete jej přepsat ?")))
        return;
    const FileResult saved = SaveTableFile(measurementTable(), path);
    if (!saved.ok) {
        ShowMessage(MessageIcon::Critical, QString(),
                    QCoreApplication::translate("TableCommands", "Soubor se nepodařilo uložit: ") + saved.error);
        return;
    }
    state().TableModified = 0;
    measurementTable().noteSaved();
}

void LoadTableCommand(const QString &path)
{
    if (path.isEmpty() || !MayDropUnsavedChanges())
        return;
    const FileResult loaded = LoadTableFile(measurementTable(), path);
    if (!loaded.ok) {
        ShowMessage(MessageIcon::Critical, QString(),
                    QCoreApplication::translate("TableCommands", "Soubor se nepodařilo načíst: ") + loaded.error);
        return;
    }
    state().TableModified = 0;
    measurementTable().noteLoaded();
}

QString WithDefaultExtension(const QString &path, const QString &extension)
{
    const QString suffix = QFileInfo(path).suffix();
    const bool hasExtension = std::any_of(suffix.cbegin(), suffix.cend(), [](QChar c) { return !c.isDigit(); });
    return hasExtension ? path : path + QLatin1Char('.') + extension;
}

QString TableFolder()
{
    const QString folder = ProgramPath(QStringLiteral("DATA"));
    QDir().mkpath(folder);
    return folder;
}

QString NewDataFilePath(const QString &stem, const QString &extension)
{
    const QString stamp = programClock().wallNow().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    const QDir folder(TableFolder());
    QString path = folder.filePath(QStringLiteral("%1_%2.%3").arg(stem, stamp, extension));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("%1_%2_%3.%4").arg(stem, stamp).arg(n).arg(extension));
    return path;
}

} // namespace pxr3
