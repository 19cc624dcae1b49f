#pragma once
// The commands of the main window that other windows carry out: the measurement table,
// the series, the parameters dialog, printing and the spreadsheet export. Each is installed by the window that
// owns the work; the main window only dispatches.

#include <QString>
#include <functional>

namespace pxr3 {

struct WorkCommands {
    std::function<void()> ClearTable;
    std::function<void()> SaveTable;
    std::function<void()> LoadTable;
    std::function<void()> PrintTable;
    std::function<void()> PreviewTable;
    std::function<void()> PrintTableToPdf;
    std::function<void()> ExportTable; // the spreadsheet button
    std::function<void()> NewMeasurement;
    std::function<void()> ShowParameters;
    std::function<void()> ShowCourse; // the time-course window
    // The program is ending: the series and the acquisition timer stop where they are.
    std::function<void()> EndMeasuring;
};

WorkCommands &workCommands();

// Shown where a command's window is not part of this build; the Czech text is what a log keeps.
inline const char *const kUnavailableCommand =
    QT_TRANSLATE_NOOP("WorkCommands", "Tato funkce není v této verzi k dispozici");
// The same in the user's language, for the screen.
QString UnavailableCommandText();

} // namespace pxr3
