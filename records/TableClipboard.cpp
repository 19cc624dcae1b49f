#include "records/TableClipboard.h"

#include "core/SharedState.h"
#include "records/MeasurementTable.h"

#include <algorithm>

namespace pxr3 {

namespace {

constexpr int kFirstDataColumn = 1;

void NoteChangedByOperator(bool changed)
{
    if (changed)
        state().TableModified = kModifiedByEdit;
}

} // namespace

QString BlockClipboardText(const MeasurementTable &table, const CellBlock &block)
{
    if (block.reversed())
        return {};
    const int firstColumn = block.column == 2 ? 0 : block.column;
    QString text;
    for (int row = block.row; row <= block.farRow; ++row) {
        for (int column = firstColumn; column <= block.farColumn; ++column) {
            text += table.text(row, column);
            text += QLatin1Char('\t');
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

void ClearBlock(MeasurementTable &table, const CellBlock &block)
{
    if (block.reversed())
        return;
    bool changed = false;
    for (int row = block.row; row <= block.farRow; ++row)
        for (int column = std::max(block.column, kFirstDataColumn); column <= block.farColumn; ++column)
            changed |= table.setText(row, column, QString());
    NoteChangedByOperator(changed);
}

QString CutCell(MeasurementTable &table, int row, int column)
{
    const QString text = table.text(row, column);
    if (column >= kFirstDataColumn)
        NoteChangedByOperator(table.setText(row, column, QString()));
    return text;
}

void PasteIntoCell(MeasurementTable &table, int row, int column, const QString &text)
{
    if (column >= kFirstDataColumn)
        NoteChangedByOperator(table.setText(row, column, text));
}

} // namespace pxr3
