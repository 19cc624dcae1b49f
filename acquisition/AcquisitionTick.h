#pragma once
// The acquisition tick: every 100 ms while a measurement runs it takes the next data frame
// the analyser sent, adds it to the cycle, evaluates the ROI into a rate and an activity,
// feeds the graphs and the data log, and writes the running cycle's row of the table.

#include "acquisition/MeasurementControl.h"

#include <QObject>
#include <QString>
#include <cstdint>

namespace pxr3 {

// What the tick reads from and shows on the windows, besides starting and stopping.
class AcquisitionView : public MeasurementPanel {
public:
    // The communication window.
    virtual QString calFactorText() const = 0;  // "KF :"
    virtual QString backgroundText() const = 0; // "Poz:"
    virtual bool logDataChecked() const = 0;    // "LOG data"
    virtual bool smoothingChecked() const = 0;  // " SF:"
    virtual void showRate(const QString &text) = 0;
    virtual void showActivity(const QString &text) = 0;
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
    int16_t TickTime = 1;      // seconds a tick stands for; no setting provides another
    double DeadTimeUs = 0;     // dead time of the detector chain; none is known, so none is corrected
    double CourseTime = 0;     // day number of the newest time-course point
    float KF = 0;
    float Activity = 0;
    int64_t lastGoodFrameUs = 0; // program clock
    bool linkLossShown = false;
    int linkLosses = 0;          // since the program started, for the series' closing words
    bool noRecordNoted = false;  // the log said once that a cycle ran without a radionuclide
    bool dataLogFailureNoted = false;
};

AcquisitionState &acquisition();
void ResetAcquisition(); // tests start from a fresh state

// The handler of the 100 ms timer.
void Timer1_Timer(AcquisitionView &view);

// Called when the timer starts: the link-loss watch counts from here.
void NoteAcquisitionStarted();

// Tells the measurement series that a tick has taken a frame or ended a cycle, so that it
// waits for ticks rather than looking at the state again and again.
class TickNotifier : public QObject {
    Q_OBJECT
signals:
    void ticked();
};
TickNotifier &tickNotifier();

// Seconds without a good frame, while the timer runs, after which the link counts as lost.
constexpr int kLinkLossSeconds = 10;

} // namespace pxr3
