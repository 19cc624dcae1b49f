// The measurement table window follows the table's top row and paints each cell's colour.

#include "records/MeasurementTable.h"
#include "records/vse_mer.h"

#include <QTableView>
#include <QtTest>

using namespace pxr3;

class VseMerTest : public QObject {
    Q_OBJECT

    static bool cellShowsRed(QTableView *view, int row, int column)
    {
        const QRect cell = view->visualRect(view->model()->index(row, column));
        const QImage image = view->viewport()->grab(cell).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                    return true;
            }
        return false;
    }

private slots:
    void cleanup() { measurementTable().reset(); }

    void viewFollowsTheTableAndItsColours()
    {
        vse_mer window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableView *grid = window.grid();
        MeasurementTable &table = measurementTable();

        table.setTopRow(500);
        QCOMPARE(grid->rowAt(0), 499);
        grid->scrollToTop(); // the operator scrolled away; the same top row brings the view back
        table.setTopRow(500);
        QCOMPARE(grid->rowAt(0), 499);
        table.setTopRow(1);
        QCOMPARE(grid->rowAt(0), 0);

        table.setText(2, 1, QStringLiteral("88.88.8888 88:88:88"));
        table.setTextColour(2, 1, kLightRedText);
        QVERIFY(cellShowsRed(grid, 1, 1));
        table.setTextColour(2, 1, kBlackText);
        QVERIFY(!cellShowsRed(grid, 1, 1));
    }
};

QTEST_MAIN(VseMerTest)
#include "VseMerTest.moc"
