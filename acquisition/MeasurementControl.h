#pragma once
// Starting and stopping a measurement on the analyser. The communication window supplies
// its fields and buttons through MeasurementPanel, so the sequence runs without windows.

#include <QObject>
#include <QString>

namespace pxr3 {

class MeasurementPanel {
public:
    virtual ~MeasurementPanel() = default;
    virtual QString timeText() const = 0; // "T [s]"
    virtual void setTimeText(const QString &text) = 0;
    virtual QString roiText(int index) const = 0; // 0 left, 1 right
    virtual void redrawSpectrum(int bound) = 0;
    virtual void closeLink() = 0; // as "Close USB" does
    virtual void openLink() = 0;  // as "Open USB" does
    virtual bool timerEnabled() const = 0;
    virtual void setTimerEnabled(bool enabled) = 0;
};

// The cycle time is even and at least 2 s: a cycle is a whole number of 2 s frames.
int16_t EvenMeasureTime(const QString &text, int16_t previous);

// Sends MCA START, retrying up to four times with stop, close and reopen in between; on
// success the acquisition timer runs, after the fifth refusal MeasureState is 4. While the
// timer runs it does nothing.
void StartMeasurement(MeasurementPanel &panel);

// A series' start: as StartMeasurement, and while a measurement already runs, a fresh cycle
// from the next frame on without a second MCA START.
void StartSeriesMeasurement(MeasurementPanel &panel);

// The link is back after a loss: a measurement that was running is started again on the
// analyser and goes on with the cycle it was in.
void ResumeMeasurement(MeasurementPanel &panel);
// Resumes the panel's measurement whenever the link is restored, for as long as `context` lives.
void ResumeOnReconnect(MeasurementPanel &panel, QObject *context);

// With the timer off the analyser is stopped at once; otherwise the next tick stops it.
void StopMeasurement(MeasurementPanel &panel);

} // namespace pxr3
