#include "records/vse_mer.h"

#include "core/Twips.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QTableWidget>

namespace pxr3 {

vse_mer::vse_mer(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("vse_mer"));
    setWindowTitle(QStringLiteral("Data"));
    Grid1 = new QTableWidget(kTableRows, 6, this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setHorizontalHeaderLabels({QStringLiteral("č."), QStringLiteral("Datum / čas měření"),
                                      QStringLiteral("Emise [1/s]"), QStringLiteral("N (ROI)"),
                                      QStringLiteral("Čas měření"), QStringLiteral("Poznámka")});
    Grid1->verticalHeader()->hide();
    const int widths[] = {800, 2500, 2000, 1500, 1500, 4500};
    for (int column = 0; column < 6; ++column)
        Grid1->setColumnWidth(column, TwipsToPixels(this, widths[column]));
    resize(TwipsToPixels(this, 7000), TwipsToPixels(this, 6000));
}

void vse_mer::closeEvent(QCloseEvent *event) { event->ignore(); } // kept open for the whole run

void vse_mer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int margin = TwipsToPixels(this, 100);
    Grid1->setGeometry(margin, margin, std::abs(width() - 2 * margin), std::abs(height() - 2 * margin));
}

} // namespace pxr3
