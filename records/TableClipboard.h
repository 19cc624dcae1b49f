#pragma once
// What the grid's clipboard and Delete keys do to the measurement table, apart from any widget.
// Column 0 holds the row numbers, which the file does not keep: these keys copy them but never
// change them. A key that changes a cell's text marks the table modified, as an edit does, so
// that emptying the table or quitting asks first.

#include <QString>

#include <cstdint>

namespace pxr3 {

class MeasurementTable;

// TableModified after the operator changed a cell.
constexpr int16_t kModifiedByEdit = 2;

// A block of cells as the grid's selection gives it: from the current cell to the far cell, data
// rows numbered 1..1000. A far row above the current row, or a far column left of the current
// column, makes no block at all.
struct CellBlock {
    int row = 1;
    int column = 0;
    int farRow = 1;
    int farColumn = 0;
    bool reversed() const { return farRow < row || farColumn < column; }
};

// Ctrl+C: row by row, each cell's text followed by a TAB, each row by CR LF; the columns from the
// current one to the far one, or from column 0 when the block starts in column 2.
QString BlockClipboardText(const MeasurementTable &table, const CellBlock &block);

// Delete: empties every cell of the block.
void ClearBlock(MeasurementTable &table, const CellBlock &block);

// Ctrl+X: the cell's text, the cell emptied.
QString CutCell(MeasurementTable &table, int row, int column);

// Ctrl+V: the whole text becomes the cell's text.
void PasteIntoCell(MeasurementTable &table, int row, int column, const QString &text);

} // namespace pxr3
