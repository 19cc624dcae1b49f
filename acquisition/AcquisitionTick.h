#pragma once
// The acquisition tick: every 100 ms while a measurement runs it takes the next data frame
// the analyser sent, adds it to the cycle, evaluates the ROI into a rate and an activity,
// feeds the graphs and the data log, and writes the running cycle's row of the table.

#include "acquisition/MeasurementControl.h"

#include <QObject>
#include <QString>
#include <cstdint>

namespace pxr3 {

// What the window shows of the spectrum: the rate n and the activity a, each with its
// standard uncertainty, and the activity's decision threshold a* and detection limit a#. An
// activity not told apart from the background reads "< a#"; empty texts show nothing.
struct Readout {
    QString rate, rateU;
    QString activity, activityU;
    QString threshold, limit;
};

// What the tick reads from and shows on the windows, besides starting and stopping.
class AcquisitionView : public MeasurementPanel {
public:
    // The communication window.
    virtual QString calFactorText() const = 0;  // "KF :"
    virtual QString backgroundText() const = 0; // "Poz:"
    virtual bool logDataChecked() const = 0;    // "LOG data"
    virtual bool smoothingChecked() const = 0;  // " SF:"
    virtual void showReadout(const Readout &readout) = 0;
    // The time-course window.
    virtual double courseStart() const = 0;
    virtual void addCoursePoint(double courseTimeDays, double value) = 0;
    // The main window.
    virtual void showReading(const QString &reply) = 0; // status bar panel 1
    virtual void showDelivering(bool delivering) = 0;   // the activity pictures
    virtual void showRoiCounts(const QString &text) = 0;
    // The number of rows kept in view while "rolování " is ticked, 0 when it is not.
    virtual int rowsInView() const = 0;
};

struct AcquisitionState {
    double RoiCounts = 0;
    int16_t TickTime = 0;        // seconds the last good frame stands for: its time word
    int32_t CourseTick = 0;      // time-course points since the course opened or the cycle began
    double DeadTimeUs = 0;       // dead time of the detector chain; none is known, so none is corrected
    double CourseTime = 0;       // day number of the newest time-course point
    int64_t lastGoodFrameUs = 0; // program clock
    int64_t watchSinceUs = 0;    // the link-loss watch counts from the last good frame or (re)start
    bool linkLossShown = false;
    bool reconnected = false;    // the link was opened again since the last good frame
    int cycleFailedReadings = 0; // of the running cycle, for its row's note
    int cycleGapSeconds = 0;
    int completedFailedReadings = 0; // of the cycle completed last, for its published result
    int completedGapSeconds = 0;
    int linkLosses = 0;         // since the program started, for the series' closing words
    bool noRecordNoted = false; // the log said once that a cycle ran without a radionuclide
    bool dataLogFailureNoted = false;
    bool frameTimeNoted = false; // the log said that a frame's time was not plausible
};

AcquisitionState &acquisition();
void ResetAcquisition(); // tests start from a fresh state

// The handler of the 100 ms timer.
void Timer1_Timer(AcquisitionView &view);

// When the tick has something to do again, in program-clock microseconds: at once (a time
// already past) while the link is busy, frames wait or a stop is asked for; else when the
// link-loss watch falls due, or kNoTickDue when only a frame or a stop can give it work.
constexpr int64_t kNoTickDue = INT64_MAX;
int64_t NextTickDueUs();

// "Stop": the next tick stops the analyser.
void RequestStop();

// The frame's ROI counts above which the analyser's counter is taken to have overflowed.
constexpr int kOverCounts = 32000;

// The rate and activity read-outs of a spectrum: N counts in t seconds, with the window's
// background rate and calibration factor (applied only above 1).
Readout SpectrumReadout(double counts, int seconds, double background, double calFactor);

// The time course opened afresh: its points start again at the axis' left end. The cycle's
// frame count is the cycle's own and is not touched.
void RestartCoursePoints();

// Called when the timer starts: the link-loss watch counts from here.
void NoteAcquisitionStarted();
// The analyser measures again after the link was lost: the watch counts afresh, and the time
// without data until the next good frame is the cycle's link gap.
void NoteAcquisitionResumed();

// The note a row gets when its cycle had failed readings or a link gap; empty when neither.
QString CycleTraceNote(int failedReadings, int gapSeconds);

// Tells the measurement series that a tick has taken a frame or ended a cycle, so that it
// waits for ticks rather than looking at the state again and again.
class TickNotifier : public QObject {
    Q_OBJECT
public:
    TickNotifier();
signals:
    void ticked();
    // A data frame arrived or a stop was asked for: a sleeping tick has work.
    void wakeRequested();
};
TickNotifier &tickNotifier();

// Seconds without a good frame, while the timer runs, after which the link counts as lost.
constexpr int kLinkLossSeconds = 10;

} // namespace pxr3
