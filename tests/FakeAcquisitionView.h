#pragma once
// The windows as the acquisition sees them, with a 100 ms timer on the program clock, and a
// connected analyser whose commands take their fields from them.

#include "LinkTestSupport.h"
#include "acquisition/AcquisitionTick.h"
#include "acquisition/Hlazeni.h"
#include "acquisition/TickTimer.h"
#include "records/MeasurementTable.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace pxr3::test {

class FakeView : public AcquisitionView {
public:
    QString timeText() const override { return time; }
    void setTimeText(const QString &text) override { time = text; }
    QString roiText(int index) const override { return roi[index]; }
    void redrawSpectrum(int) override { }
    void closeLink() override
    {
        ++closes;
        USB_Close();
    }
    void openLink() override
    {
        ++opens;
        USB_Open();
    }
    bool timerEnabled() const override { return timer.isActive(); }
    void setTimerEnabled(bool enabled) override { enabled ? timer.start(100'000) : timer.stop(); }
    QString calFactorText() const override { return kf; }
    QString backgroundText() const override { return background; }
    bool logDataChecked() const override { return logData; }
    bool smoothingChecked() const override { return smoothing; }
    void showReadout(const Readout &r) override
    {
        shown = r;
        rate = r.rate;
        activity = r.activity;
    }
    double courseStart() const override { return kCourseStart; }
    void addCoursePoint(double x, double y) override { points.push_back({x, y}); }
    void showReading(const QString &) override
    {
        if (link().LastReading == DataReading::Good) {
            good.push_back(link().RxBytes(5)); // the analyser's number of the frame
            QByteArray raw;
            for (int i = 1; i <= kDataFrameLength; ++i)
                raw.append(char(link().RxBytes(i)));
            frames.push_back(raw);
            frameShownAt.push_back(programClock().wallNow());
            frameTimes.insert(link().FrameTime); // a reply to "D" taken for a frame would say 10 s
        } else
            ++failed;
    }
    void showDelivering(bool on) override { delivering = on; }
    void showRoiCounts(const QString &) override { }
    int rowsInView() const override { return inView; }

    static constexpr double kCourseStart = 46083.6;
    QString time = QStringLiteral("2");
    QString roi[2] = {QStringLiteral("1"), QStringLiteral("254")};
    QString kf = QStringLiteral("1");
    QString background = QStringLiteral("1");
    bool logData = false;
    bool smoothing = false;
    int inView = 0;
    int closes = 0, opens = 0;
    QString rate, activity;
    Readout shown;
    bool delivering = true;
    std::vector<int> good;
    std::vector<QByteArray> frames; // the bytes of each good frame as they came
    std::vector<QDateTime> frameShownAt;
    std::set<int> frameTimes;
    int failed = 0;
    std::vector<std::pair<double, double>> points;
    int ticks = 0;
    TickTimer timer{[this] {
        ++ticks;
        Timer1_Timer(*this);
    }};
};

// Worked from a frame's bytes, not by the code under test: the counts of channels left to
// right (channel k at offset 7 + 2 (k - 1), low byte first) and the time byte at offset 5.
inline int FrameRoi(const QByteArray &frame, int left, int right)
{
    int sum = 0;
    for (int k = left; k <= right; ++k)
        sum += uint8_t(frame[7 + 2 * (k - 1)]) + 256 * uint8_t(frame[8 + 2 * (k - 1)]);
    return sum;
}
inline int FrameSeconds(const QByteArray &frame) { return uint8_t(frame[5]); }

// The sum over the frames from `first` on.
inline int FramesRoi(const std::vector<QByteArray> &frames, size_t first, int left, int right)
{
    int sum = 0;
    for (size_t i = first; i < frames.size(); ++i)
        sum += FrameRoi(frames[i], left, right);
    return sum;
}

class AcquisitionFixture : public LinkFixture {
protected:
    explicit AcquisitionFixture(SimulatedAnalyser::Pace pace = SimulatedAnalyser::Pace::Fast) : LinkFixture(pace) { }
    void SetUp() override
    {
        LinkFixture::SetUp();
        ResetAcquisition();
        ResetSmoothing();
        measurementTable().reset();
        SetLinkHooks({[] { return QStringLiteral("500"); }, [this] { return view.time; }, nullptr});
        ResumeOnReconnect(view, &resuming);
        Connect();
    }
    void TearDown() override
    {
        view.timer.stop();
        LinkFixture::TearDown();
    }
    long Written(const QByteArray &frame) const
    {
        return std::count(sim->written().begin(), sim->written().end(), frame);
    }

    FakeView view;
    QObject resuming; // the view's measurement resumed after a reconnection while the case runs
};

} // namespace pxr3::test
