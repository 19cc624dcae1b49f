#pragma once
// The acquisition and the series without windows: the communication window's fields are plain
// values, its timer a TickTimer, and the series' buttons call the logic they stand for.

#include "acquisition/AcquisitionTick.h"
#include "acquisition/MeasurementSeries.h"
#include "acquisition/TickTimer.h"

#include <functional>

namespace pxr3 {

class HeadlessView : public AcquisitionView {
public:
    HeadlessView();

    QString timeText() const override { return time; }
    void setTimeText(const QString &text) override { time = text; }
    QString roiText(int index) const override { return roi[index]; }
    void redrawSpectrum(int) override { }
    void closeLink() override;
    void openLink() override;
    bool timerEnabled() const override { return timer_.isActive(); }
    void setTimerEnabled(bool enabled) override;
    QString calFactorText() const override { return calFactor; }
    QString backgroundText() const override { return background; }
    bool logDataChecked() const override { return logData; }
    bool smoothingChecked() const override { return false; }
    void showReadout(const Readout &) override { }
    double courseStart() const override { return 0; }
    void addCoursePoint(double, double) override { }
    void showReading(const QString &) override { }
    void showDelivering(bool) override { }
    void showRoiCounts(const QString &) override { }
    int rowsInView() const override { return 0; }

    // The working values of the set in force, as "N&astavit" puts them into the window's fields;
    // without a set the ROI in force and the analyser's voltage stand.
    void takeWorkingValues(bool fromSet);

    QString time;
    QString roi[2];
    QString highVoltage;
    QString calFactor;
    QString background;
    bool logData = false;

private:
    TickTimer timer_;
};

class HeadlessControls : public SeriesControls {
public:
    // `measuringSet`: applies the set in force and the station's own time and repetitions.
    HeadlessControls(HeadlessView &view, std::function<void()> measuringSet, std::function<void(QString)> warn)
        : view_(view), measuringSet_(std::move(measuringSet)), warn_(std::move(warn))
    {
    }

    void setSeriesRunning(bool) override { }
    void applyMeasuringSet() override { measuringSet_(); }
    void emptyLog() override;
    void writeVoltage() override;
    void startMeasuring() override;
    void clearCycle() override;
    void stopMeasuring() override;
    void showIdle() override { }
    bool acquisitionRunning() const override { return view_.timerEnabled(); }
    bool clearTable() override;
    void showProgress(const QString &, int, int) override { }
    void showWarning(const QString &text) override { warn_(text); }

private:
    HeadlessView &view_;
    std::function<void()> measuringSet_;
    std::function<void(QString)> warn_;
};

} // namespace pxr3
