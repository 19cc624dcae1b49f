#pragma once
// A measurement series: cycle after cycle on the analyser, each cycle's result in the next row
// of the table. It waits for the acquisition tick's news rather than looking again and again,
// and every completed row goes at once into an autosave file, so nothing measured is lost; each
// cycle's spectrum is kept beside it in SPEKTRA.

#include "records/CycleMessage.h"

#include <QObject>
#include <QString>
#include <memory>

namespace pxr3 {

// What the series presses and shows on the windows.
class SeriesControls {
public:
    virtual ~SeriesControls() = default;
    virtual void setSeriesRunning(bool running) = 0; // the commands enabled during a series
    // The measuring radionuclide set onto the communication window, so that its read-outs and
    // the rows use one calibration.
    virtual void applyMeasuringSet() = 0;
    virtual void emptyLog() = 0;
    virtual void writeVoltage() = 0;             // "Write VN"
    virtual void startMeasuring() = 0;           // "Start"
    virtual void clearCycle() = 0;               // "Clear"
    virtual void stopMeasuring() = 0;            // "Stop"
    virtual void showIdle() = 0;                 // the activity pictures: nothing being delivered
    virtual bool acquisitionRunning() const = 0; // the acquisition timer
    // Empties the table, asking first about unsaved changes; false when the operator kept it.
    virtual bool clearTable() = 0;
    virtual void showProgress(const QString &text, int secondsDone, int secondsPerCycle) = 0;
    virtual void showWarning(const QString &text) = 0; // at once, where the operator looks first
};

class MeasurementSeries : public QObject {
    Q_OBJECT
public:
    explicit MeasurementSeries(std::unique_ptr<SeriesControls> controls, QObject *parent = nullptr);

    // The Start command: asks where to write, then starts the analyser and the first cycle.
    void NewMeasurement();
    bool running() const { return phase_ != Phase::Idle; }
    // "S&top": the tick ends the series; without a running acquisition nothing would tick.
    void StopRequested();
    // The program is ending: no further command goes to the analyser from here.
    void Abandon();

    int RepeatIndex() const { return repeatIndex_; }
    // Cycle after cycle until stopped, whatever the set's repetitions say.
    void setUntilStopped(bool untilStopped) { untilStopped_ = untilStopped; }
    // Where the completed rows of this series are kept; empty before its first row.
    QString autosavePath() const { return autosavePath_; }

signals:
    void finished();
    // A cycle's row is complete and in the autosave.
    void cycleRecorded(const pxr3::CycleReport &report);

private:
    enum class Phase { Idle, SettlingVoltage, Measuring };

    void startAnalyserAfter(int64_t delayUs);
    void startAnalyser();
    void nextCycle();
    void onTick();
    void cycleCompleted();
    void stopAndFinish();
    // Ends the series; `report`: tells how it went, in the log and the status bar.
    void finish(bool report);
    QString outcomeText(bool shown) const;
    bool stopWanted() const;
    void showCycleProgress();
    void autosave();
    void keepCycleSpectrum();
    void continueInNewFileWhenFull();
    bool endless() const { return untilStopped_; }

    std::unique_ptr<SeriesControls> controls_;
    Phase phase_ = Phase::Idle;
    int repeatCount_ = 0;
    bool untilStopped_ = false;
    int repeatIndex_ = 0;
    int completed_ = 0;
    int linkLossesBefore_ = 0;
    uint64_t settleTimer_ = 0;
    bool stopPressed_ = false; // StopRequest may still hold the stop of an earlier measurement
    QString autosavePath_;
    QString autosaveError_;             // of the last autosave; empty when it succeeded
    bool spectrumFailureShown_ = false; // a spectrum not kept is shown to the operator once a series
};

} // namespace pxr3
