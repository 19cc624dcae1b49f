// The measurement table as the cycle and the table files see it.

#include "records/MeasurementTable.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

namespace pxr3 {
namespace {

TEST(MeasurementTable, NumberedRowsUnderTheHeaders)
{
    MeasurementTable table;
    EXPECT_EQ(table.rowCount(), 1000);
    QStringList headers;
    for (int column = 0; column < table.columnCount(); ++column)
        headers << table.text(0, column);
    EXPECT_EQ(headers.join('|'), QStringLiteral("č.|Datum / čas měření|Emise [1/s]|N (ROI)|Čas měření|Poznámka"));
    EXPECT_EQ(table.text(1, 0), QStringLiteral("1"));
    EXPECT_EQ(table.data(table.index(999, 0)).toString(), QStringLiteral("1000")); // data row r is model row r - 1
}

TEST(MeasurementTable, ChangesAnnounceOnlyTheChangedCell)
{
    MeasurementTable table;
    std::vector<QList<int>> roles;
    QObject::connect(&table, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex &from, const QModelIndex &to, const QList<int> &changed) {
                         EXPECT_EQ(from, table.index(6, 1));
                         EXPECT_EQ(to, from);
                         roles.push_back(changed);
                     });
    table.setText(7, 1, QStringLiteral("07.03.2024 09:05:03"));
    table.setTextColour(7, 1, kLightRedText);
    table.setText(7, 1, QStringLiteral("07.03.2024 09:05:03")); // unchanged: nothing to repaint
    table.setText(1001, 1, QStringLiteral("x"));                // outside the table
    table.setText(0, 1, QStringLiteral("x"));                   // the headers are fixed
    EXPECT_EQ(roles, (std::vector<QList<int>>{{Qt::DisplayRole}, {MeasurementTable::TextColourRole}}));
    EXPECT_EQ(table.data(table.index(6, 1), MeasurementTable::TextColourRole).toInt(), kLightRedText);
    EXPECT_EQ(table.text(0, 1), MeasurementTable::header(1));
}

} // namespace
} // namespace pxr3
