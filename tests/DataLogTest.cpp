// The data log's line layout and the file it grows.

#include "acquisition/DataLog.h"
#include "TestSupport.h"
#include "core/DateTimeText.h"


namespace pxr3 {
namespace {

using DataLogTest = test::ProgramFolderFixture;

TEST_F(DataLogTest, TwoLinesUnderACzechLocale)
{
    test::LocaleScope czech(QLocale::Czech);
    const double morning = DaysFromDateTime(QDateTime(QDate(2024, 3, 7), QTime(9, 5, 3)));
    const double evening = DaysFromDateTime(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)));
    // A factor of 1 still applies, and a tick time of 0 counts as one second.
    ASSERT_TRUE(AppendDataLog(DataLogLine(morning, 1234.5, LogActivity(1234.5, 1, 1.0, 2.5), 1)).ok);
    ASSERT_TRUE(AppendDataLog(DataLogLine(evening, 0.0, LogActivity(0.0, 0, 0.25, 1.0), 0)).ok);

    EXPECT_EQ(test::FileBytes(path(QStringLiteral("DATA_LOG.TXT"))), QByteArray("07.03.2024\t09:05:03\t1,2345E+03\t3,0838E+03\t1\r\n"
                                        "31.12.2024\t23:59:59\t0,0000E+00\t-2,5000E-01\t1\r\n"));
}

} // namespace
} // namespace pxr3
