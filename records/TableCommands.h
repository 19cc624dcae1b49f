#pragma once
// The commands on the measurement table as a whole: emptying it, and saving it to and loading
// it from a ".dat" file once the operator has chosen the file.

#include <QString>

namespace pxr3 {

// Empties the table, asking first when it holds unsaved changes; true when it was emptied.
bool ClearTable();

// The save command with the chosen name (empty: the dialog was cancelled). A name without an
// extension gets ".dat", so that the load dialog lists the file. An existing file is
// overwritten only when the operator agrees; a failure is shown and the table stays unsaved.
void SaveTableCommand(const QString &path);

// The name with "." and the extension added when it has none. Digits alone after the last
// point are no extension: "mereni 02.03.2026" is a name with a date in it.
QString WithDefaultExtension(const QString &path, const QString &extension);

// The load command with the chosen name (empty: cancelled). Unsaved changes are given up only
// when the operator agrees; a file that cannot be read is shown and the table stays as it was.
void LoadTableCommand(const QString &path);

// The folder the file dialogs open in: DATA in the program folder, made when missing.
QString TableFolder();

// A new file in that folder named by the program clock's date and time, e.g.
// "serie_2026-03-02_14-37-50.dat"; "_2", "_3"... added so that no earlier file is overwritten.
QString NewDataFilePath(const QString &stem, const QString &extension);

// The file dialogs' filter.
extern const char *const kTableFileFilter;

} // namespace pxr3
