// The cycle spectrum exported as N42, SPE and CSV: what was measured reads back from each, and
// the N42 file is valid against the standard's schema.

#include "records/SpectrumExport.h"
#include "FakeAcquisitionView.h"
#include "SpectrumFileReaders.h"
#include "acquisition/CycleSpectrum.h"

#include <QProcess>
#include <QStandardPaths>

namespace pxr3::test {
namespace {

// What xmllint says of the file against the N42 schema; empty when it is valid.
QString SchemaComplaints(const QString &path)
{
    QProcess xmllint;
    xmllint.setProcessChannelMode(QProcess::MergedChannels);
    xmllint.start(
        QStringLiteral("xmllint"),
        {QStringLiteral("--noout"), QStringLiteral("--schema"), QStringLiteral(PXR3_TEST_DATA "/n42.xsd"), path});
    if (!xmllint.waitForFinished(30'000))
        return QStringLiteral("xmllint did not finish");
    const QString said = QString::fromLocal8Bit(xmllint.readAll());
    return xmllint.exitStatus() == QProcess::NormalExit && xmllint.exitCode() == 0 ? QString() : said;
}

class SpectrumExportTest : public AcquisitionFixture { };

TEST_F(SpectrumExportTest, EachFormatReadsBackTheCountsTimesAndStartThatWereMeasured)
{
    EraseCycleSpectrum();
    StartMeasurement(view);
    ASSERT_TRUE(view.timer.isActive());
    clock.runFor(7 * kSecond);
    ASSERT_GE(view.frames.size(), 3u);

    // Worked from the frames' bytes and the moment each was shown, not by the code under test.
    // A frame carries channels 1 to 254; the others stay empty.
    std::vector<qint64> counts(kChannels, 0);
    int seconds = 0;
    for (const QByteArray &frame : view.frames) {
        for (int k = 1; k <= 254; ++k)
            counts[k - 1] += FrameRoi(frame, k, k);
        seconds += FrameSeconds(frame);
    }
    const QDateTime start = view.frameShownAt.front().addSecs(-FrameSeconds(view.frames.front()));

    const struct {
        SpectrumFormat format;
        ReadBack (*read)(const QByteArray &);
    } formats[] = {{SpectrumFormat::N42, ReadN42}, {SpectrumFormat::Spe, ReadSpe}, {SpectrumFormat::Csv, ReadCsv}};
    for (const auto &f : formats) {
        const QString file = path(QStringLiteral("cycle.") + SpectrumSuffix(f.format));
        ASSERT_TRUE(SaveCycleSpectrumAs(file, f.format).ok);
        const ReadBack read = f.read(FileBytes(file));
        EXPECT_EQ(read.counts, counts) << qPrintable(file);
        EXPECT_EQ(read.realSeconds, seconds) << qPrintable(file);
        EXPECT_EQ(read.liveSeconds, seconds) << qPrintable(file);
        EXPECT_EQ(read.start.toSecsSinceEpoch(), start.toSecsSinceEpoch()) << qPrintable(file);
    }

    const ReadBack n42 = ReadN42(FileBytes(path(QStringLiteral("cycle.n42"))));
    EXPECT_EQ(n42.remarks.value(0).left(8), QStringLiteral("SIMULACE"));
    EXPECT_TRUE(n42.remarks.contains(QStringLiteral("Analyzátor: PXR3 simulated MCA")))
        << qPrintable(n42.remarks.join('|'));
    if (QStandardPaths::findExecutable(QStringLiteral("xmllint")).isEmpty())
        GTEST_SKIP()
            << "xmllint is not installed (Debian: libxml2-utils): the N42 file was not checked against its schema";
    const QString complaints = SchemaComplaints(path(QStringLiteral("cycle.n42")));
    EXPECT_TRUE(complaints.isEmpty()) << qPrintable(complaints);
}

} // namespace
} // namespace pxr3::test
