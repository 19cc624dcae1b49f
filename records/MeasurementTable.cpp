#include "records/MeasurementTable.h"

#include "core/NumberText.h"
#include "core/SharedState.h"

namespace pxr3 {

namespace {

struct ColumnLayout {
    const char *header;
    int widthTwips;
    Qt::Alignment alignment;
};

const ColumnLayout kColumns[kTableColumns] = {
    {QT_TRANSLATE_NOOP("pxr3::MeasurementTable", "č."), 800, Qt::AlignCenter},
    {QT_TRANSLATE_NOOP("pxr3::MeasurementTable", "Datum / čas měření"), 2500, Qt::AlignCenter},
    {QT_TRANSLATE_NOOP("pxr3::MeasurementTable", "Emise [1/s]"), 2000, Qt::AlignCenter},
    {"N (ROI)", 1500, Qt::AlignCenter},
    {QT_TRANSLATE_NOOP("pxr3::MeasurementTable", "Čas měření"), 1500, Qt::AlignCenter},
    {QT_TRANSLATE_NOOP("pxr3::MeasurementTable", "Poznámka"), 4500, Qt::AlignLeft | Qt::AlignVCenter},
};

} // namespace

MeasurementTable::MeasurementTable(QObject *parent) : QAbstractTableModel(parent) { fillFresh(); }

QString MeasurementTable::header(int column) { return QString::fromUtf8(kColumns[column].header); }
QString MeasurementTable::shownHeader(int column) { return tr(kColumns[column].header); }
int MeasurementTable::columnWidthTwips(int column) { return kColumns[column].widthTwips; }
Qt::Alignment MeasurementTable::columnAlignment(int column) { return kColumns[column].alignment; }

int MeasurementTable::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : kTableRows; }
int MeasurementTable::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : kTableColumns; }

QVariant MeasurementTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole: return text(row, index.column());
    case Qt::TextAlignmentRole: return int(columnAlignment(index.column()));
    case TextColourRole: return textColour(row, index.column());
    default: return {};
    }
}

QVariant MeasurementTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kTableColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return shownHeader(section);
    if (role == Qt::TextAlignmentRole)
        return int(columnAlignment(section));
    return {};
}

QString MeasurementTable::text(int row, int column) const
{
    if (row == 0 && column >= 0 && column < kTableColumns)
        return header(column);
    return isDataCell(row, column) ? cell(row, column).text : QString();
}

bool MeasurementTable::setText(int row, int column, const QString &text)
{
    if (!isDataCell(row, column) || cell(row, column).text == text)
        return false;
    cell(row, column).text = text;
    cellChanged(row, column, Qt::DisplayRole);
    return true;
}

int MeasurementTable::textColour(int row, int column) const
{
    return isDataCell(row, column) ? cell(row, column).colour : kBlackText;
}

void MeasurementTable::setTextColour(int row, int column, int colour)
{
    if (!isDataCell(row, column) || cell(row, column).colour == colour)
        return;
    cell(row, column).colour = colour;
    cellChanged(row, column, TextColourRole);
}

bool MeasurementTable::rowHasData(int row) const
{
    if (!isDataCell(row, 0))
        return false;
    for (int column = 1; column < kTableColumns; ++column)
        if (!cell(row, column).text.trimmed().isEmpty())
            return true;
    return false;
}

void MeasurementTable::setTopRow(int row)
{
    if (row < 1 || row > kTableRows)
        return;
    topRow_ = row;
    emit topRowChanged(row); // also when unchanged: the operator may have scrolled away since
}

void MeasurementTable::setCurrentCell(int row, int column)
{
    if (isDataCell(row, column))
        emit currentCellSet(row, column);
}

void MeasurementTable::reset()
{
    beginResetModel();
    fillFresh();
    endResetModel();
    setTopRow(1);
    noteSaved();
    rowsFromSimulator_ = false;
}

void MeasurementTable::noteUnsavedResults(const QString &autosavePath, const QString &autosaveError)
{
    unsavedResults_ = true;
    autosavePath_ = autosaveError.isEmpty() ? autosavePath : QString();
    autosaveError_ = autosaveError;
}

void MeasurementTable::noteSaved()
{
    unsavedResults_ = false;
    autosavePath_.clear();
    autosaveError_.clear();
}

void MeasurementTable::noteLoaded()
{
    noteSaved();
    rowsFromSimulator_ = false;
}

bool MeasurementTable::isDataCell(int row, int column)
{
    return row >= 1 && row <= kTableRows && column >= 0 && column < kTableColumns;
}

MeasurementTable::Cell &MeasurementTable::cell(int row, int column)
{
    return cells_[std::size_t((row - 1) * kTableColumns + column)];
}

const MeasurementTable::Cell &MeasurementTable::cell(int row, int column) const
{
    return cells_[std::size_t((row - 1) * kTableColumns + column)];
}

void MeasurementTable::fillFresh()
{
    cells_.assign(std::size_t(kTableRows * kTableColumns), Cell{});
    for (int row = 1; row <= kTableRows; ++row)
        cell(row, 0).text = IntText(row);
}

// The cycle rewrites a row every two seconds: only the cell itself is repainted.
void MeasurementTable::cellChanged(int row, int column, int role)
{
    const QModelIndex changed = index(row - 1, column);
    emit dataChanged(changed, changed, {role});
}

MeasurementTable &measurementTable()
{
    static MeasurementTable table;
    return table;
}

} // namespace pxr3
