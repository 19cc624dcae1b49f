#pragma once
// A series without a screen: start-up as the program does it, then one series with the set's
// (or the command line's) time and repetitions, one line per completed cycle, warnings apart.

#include "acquisition/HeadlessView.h"

#include <QObject>
#include <functional>
#include <memory>

namespace pxr3 {

struct StationOptions {
    int cycles = -1;  // -1: the set's repetitions; 0: until stopped
    int seconds = -1; // -1: the set's time
    bool logData = false;
};

class Station : public QObject {
    Q_OBJECT
public:
    using Output = std::function<void(const QString &line)>;
    Station(const StationOptions &options, Output lines, Output warnings, QObject *parent = nullptr);
    ~Station() override;

    // Start-up and the series' start; false, and ended(1), when no analyser answers.
    bool start();
    // A signal: the running cycle ends unfinished, the analyser stops, the device closes.
    void stop();

signals:
    // 0: every cycle done or stopped on request; 1: the series ended short of its cycles.
    void ended(int exitCode);
    // A completed cycle, its row in the autosave and its line printed.
    void cycleRecorded(const pxr3::CycleReport &report);

private:
    void applyMeasuringSet();
    void noteCompletedCycle(const CycleReport &report);
    void onFinished();
    void closeWhenStopped();

    StationOptions options_;
    Output lines_;
    Output warnings_;
    HeadlessView view_;
    MeasurementSeries *series_ = nullptr;
    int printed_ = 0;
    int repeatCount_ = 0;
    bool stopped_ = false;
    bool finishing_ = false;
};

// The line of a completed row: date, time, cycle k/n, ROI counts, T, rate and activity.
QString CycleLine(int row, int cycle, int cycles);

} // namespace pxr3
