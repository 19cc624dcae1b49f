// The measurement table tells its views of each changed cell alone, so that the rows a
// cycle rewrites at every frame repaint without redrawing the table.

#include "records/MeasurementTable.h"

#include <gtest/gtest.h>
#include <vector>

namespace pxr3 {
namespace {

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
