// The cycle spectrum: adding frames into it, erasing it and its export file.

#include "acquisition/CycleSpectrum.h"
#include "TestSupport.h"

#include <limits>

namespace pxr3 {
namespace {

using CycleSpectrumTest = test::ProgramFolderFixture;

TEST_F(CycleSpectrumTest, AddsChannelsUpTo255AndAChannelThatWouldOverflowKeepsItsCount)
{
    SharedState &s = state();
    for (int k = 1; k <= kChannels; ++k) {
        s.ReceivedSpectrum(k) = k;
        s.CycleSpectrum(k) = 1000;
    }
    EXPECT_TRUE(AddReceivedToCycle(2).allCounts);
    EXPECT_EQ(s.CycleSpectrum(255), 1255);
    EXPECT_EQ(s.CycleSpectrum(256), 1000);
    s.CycleSpectrum(3) = std::numeric_limits<int32_t>::max() - 1;
    EXPECT_FALSE(AddReceivedToCycle(2).allCounts);
    EXPECT_EQ(s.CycleSpectrum(3), std::numeric_limits<int32_t>::max() - 1);
    EXPECT_EQ(s.CycleSpectrum(4), 1008); // the other channels are still added
}

TEST_F(CycleSpectrumTest, TheSpectrumsTimeTakesOnlyPlausibleFrameTimesAndEndsWithTheErase)
{
    SharedState &s = state();
    s.ReceivedSpectrum(1) = 5;
    for (const auto &[seconds, added] :
         {std::pair{2, true}, {1, true}, {60, true}, {0, false}, {61, false}, {-2, false}})
        EXPECT_EQ(AddReceivedToCycle(seconds).time, added) << seconds;
    EXPECT_EQ(s.CycleSpectrumTime, 63);
    EXPECT_EQ(s.CycleSpectrum(1), 30); // the counts of every frame
    EraseCycleSpectrum();
    EXPECT_EQ(s.CycleSpectrumTime, 0);
    EXPECT_EQ(s.CycleSpectrum(1), 0);
}

TEST_F(CycleSpectrumTest, ExportLayoutAfterEraseAndSecondExportReplacesTheFirst)
{
    state().CycleSpectrum(2) = 999;
    state().CycleSpectrumTime = 100;
    ASSERT_TRUE(SaveCycleSpectrum().ok);
    EraseCycleSpectrum();
    state().CycleSpectrum(1) = 27;
    state().CycleSpectrum(255) = -4;
    state().CycleSpectrum(256) = 55;
    state().CycleSpectrumTime = 4;
    ASSERT_TRUE(SaveCycleSpectrum().ok);
    const QByteArray bytes = test::FileBytes(path(QStringLiteral("SpektrumPXR3.TXT")));
    EXPECT_TRUE(bytes.startsWith(" 4 \r\n 27 \r\n 0 \r\n"));
    EXPECT_TRUE(bytes.endsWith(" 0 \r\n-4 \r\n")); // channel 256 is not written
    EXPECT_EQ(bytes.count("\r\n"), 256);
}

} // namespace
} // namespace pxr3
