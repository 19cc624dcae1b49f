#pragma once
// The file dialogs of the table's save and load commands.

#include <QString>

class QWidget;

namespace pxr3 {

enum class TableFileDialog { Save, Load };

// Asks for a table file in the DATA folder; an empty name when cancelled. The save dialog does
// not ask about an existing file itself: the save command does.
QString ChooseTableFile(QWidget *parent, TableFileDialog kind);

} // namespace pxr3
