#include "records/vse_mer.h"

#include "core/Twips.h"
#include "records/MeasurementTable.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

namespace pxr3 {

namespace {

// The classic 16-colour palette the table's text colours are given in.
QColor PaletteColour(int index)
{
    static const QRgb kPalette[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                      0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                      0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    return index >= 0 && index < 16 ? QColor(kPalette[index]) : QColor(Qt::black);
}

// Paints each cell's text in the colour the table keeps for it.
class CellColourDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->palette.setColor(QPalette::Text,
                                 PaletteColour(index.data(MeasurementTable::TextColourRole).toInt()));
    }
};

} // namespace

vse_mer::vse_mer(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("vse_mer"));
    setWindowTitle(QStringLiteral("Data"));
    MeasurementTable &table = measurementTable();
    Grid1 = new QTableView(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setModel(&table);
    Grid1->setItemDelegate(new CellColourDelegate(Grid1));
    Grid1->verticalHeader()->hide(); // column 0 carries the row numbers
    applyColumnWidths();
    connect(&table, &MeasurementTable::topRowChanged, this, &vse_mer::scrollToTopRow);
    resize(TwipsToPixels(this, 7000), TwipsToPixels(this, 6000));
}

void vse_mer::closeEvent(QCloseEvent *event) { event->ignore(); } // kept open for the whole run

void vse_mer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int margin = TwipsToPixels(this, 100);
    Grid1->setGeometry(margin, margin, std::abs(width() - 2 * margin), std::abs(height() - 2 * margin));
    applyColumnWidths();
}

void vse_mer::applyColumnWidths()
{
    for (int column = 0; column < kTableColumns; ++column)
        Grid1->setColumnWidth(column, TwipsToPixels(this, MeasurementTable::columnWidthTwips(column)));
}

void vse_mer::scrollToTopRow(int row)
{
    Grid1->scrollTo(Grid1->model()->index(row - 1, 0), QAbstractItemView::PositionAtTop);
}

} // namespace pxr3
