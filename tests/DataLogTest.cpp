// The data log's line layout and the file it grows.

#include "acquisition/DataLog.h"
#include "TestSupport.h"
#include "core/DateTimeText.h"

#include <cerrno>

namespace pxr3 {
namespace {

using DataLogTest = test::ProgramFolderFixture;

TEST_F(DataLogTest, TwoLinesUnderACzechLocale)
{
    test::LocaleScope czech(QLocale::Czech);
    const double morning = DaysFromDateTime(QDateTime(QDate(2024, 3, 7), QTime(9, 5, 3)));
    const double evening = DaysFromDateTime(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)));
    // (rate - background) * factor; a factor of 1 still applies, and a tick time of 0 counts as one second.
    ASSERT_TRUE(AppendDataLog(DataLogLine(morning, 617.25, LogActivity(617.25, 1.0, 2.5), 2)).ok);
    ASSERT_TRUE(AppendDataLog(DataLogLine(evening, 0.0, LogActivity(0.0, 0.25, 1.0), 0)).ok);

    EXPECT_EQ(test::FileBytes(path(QStringLiteral("DATA_LOG.TXT"))),
              QByteArray("07.03.2024\t09:05:03\t6,1725E+02\t1,5406E+03\t2\r\n"
                         "31.12.2024\t23:59:59\t0,0000E+00\t-2,5000E-01\t1\r\n"));
}

// A line the disk has no room for is not written at all, so the next one starts a line of its own.
TEST_F(DataLogTest, ALineThatDoesNotFitLeavesNoPartOfItself)
{
    ASSERT_TRUE(AppendDataLog(QStringLiteral("first")).ok);
    {
        test::WriteLimitScope full(3);
        const FileResult failed = AppendDataLog(QStringLiteral("second"));
        EXPECT_FALSE(failed.ok);
        EXPECT_EQ(failed.error, qt_error_string(ENOSPC));
    }
    ASSERT_TRUE(AppendDataLog(QStringLiteral("third")).ok);
    EXPECT_EQ(test::FileBytes(path(QStringLiteral("DATA_LOG.TXT"))), QByteArray("first\r\nthird\r\n"));

    // A device that is always full.
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("DATA_LOG.TXT"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path(QStringLiteral("DATA_LOG.TXT"))));
    const FileResult full = AppendDataLog(QStringLiteral("fourth"));
    EXPECT_FALSE(full.ok);
    EXPECT_EQ(full.error, qt_error_string(ENOSPC));
}

} // namespace
} // namespace pxr3
