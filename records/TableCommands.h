#pragma once
// The commands on the measurement table as a whole: emptying it, and saving it to and loading
// it from a ".dat" file once the operator has chosen the file.

#include <QString>

namespace pxr3 {

// Empties the table, asking first when it holds unsaved changes; true when it was emptied.
bool ClearTable();

// The save command with the chosen name (empty: the dialog was cancelled). An existing file is
// overwritten only when the operator agrees; a failure is shown and the table stays unsaved.
void SaveTableCommand(const QString &path);

// The load command with the chosen name (empty: cancelled). Unsaved changes are given up only
// when the operator agrees; a file that cannot be read is shown and the table stays as it was.
void LoadTableCommand(const QString &path);

// The folder the file dialogs open in: DATA in the program folder, made when missing.
QString TableFolder();

// The file dialogs' filter.
extern const char *const kTableFileFilter;

} // namespace pxr3
