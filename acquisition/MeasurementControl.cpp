#include "acquisition/MeasurementControl.h"

#include "acquisition/AcquisitionTick.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/WaitSeconds.h"
#include "devicelink/LinkRecovery.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"

namespace pxr3 {

namespace {

void PauseHalfSecond()
{
    float seconds = 0.5f;
    WaitSeconds(seconds);
}

// What a start does before MCA START: the cycle's time from "T [s]", its frame count and
// times from zero, the ROI from the window's fields.
void BeginCycle(MeasurementPanel &panel)
{
    SharedState &s = state();
    s.MeasureTime = EvenMeasureTime(panel.timeText(), s.MeasureTime);
    panel.setTimeText(IntText(s.MeasureTime));
    s.CycleTick = 0;
    link().FrameTime = 0;
    link().TotalTime = 0;
    acquisition().CourseTick = 0;
    acquisition().cycleFailedReadings = 0;
    acquisition().cycleGapSeconds = 0;
    for (int i = 0; i < 2; ++i) {
        // Only a field that is one whole number changes its bound.
        if (const auto number = WholeNumber(panel.roiText(i)))
            if (const auto bound = RoundToInt16(*number))
                s.RoiBounds(i + 1) = *bound;
    }
    panel.redrawSpectrum(256);
}

} // namespace

int16_t EvenMeasureTime(const QString &text, int16_t previous)
{
    // A number beyond 16 bits cannot be taken over: the previous time stays.
    const int value = RoundToInt16(LeadingNumber(text)).value_or(previous);
    if (value < 2)
        return 2;
    if (value % 2 != 0)
        // 32767 cannot be raised; the even time just below it is the nearest one that fits.
        return static_cast<int16_t>(value == INT16_MAX ? value - 1 : value + 1);
    return static_cast<int16_t>(value);
}

void StartMeasurement(MeasurementPanel &panel)
{
    // A second start would reset the running cycle's time and frame count and send MCA START
    // again in the middle of the measurement.
    if (panel.timerEnabled())
        return;
    SharedState &s = state();
    for (int attempt = 0;; ++attempt) {
        BeginCycle(panel);
        MCA_Command(QStringLiteral("B"));
        if (link().CommandOk == 1)
            break;
        if (attempt > 3) {
            s.MeasureState = 4;
            return;
        }
        MCA_Command(QStringLiteral("E"));
        PauseHalfSecond();
        panel.closeLink();
        PauseHalfSecond();
        panel.openLink();
        PauseHalfSecond();
    }
    s.StopRequest = 0;
    panel.setTimerEnabled(true);
    NoteAcquisitionStarted();
}

void StartSeriesMeasurement(MeasurementPanel &panel)
{
    if (!panel.timerEnabled()) {
        StartMeasurement(panel);
        return;
    }
    // The analyser already measures: its next frames begin the series' first cycle.
    BeginCycle(panel);
}

void ResumeMeasurement(MeasurementPanel &panel)
{
    if (!panel.timerEnabled())
        return;
    // A bridge that was unplugged comes back with the analyser idle: the working voltage and
    // MCA START again. The cycle goes on: its counts and time so far are kept.
    MCA_Command(QStringLiteral("W"));
    MCA_Command(QStringLiteral("B"));
    NoteAcquisitionResumed();
}

void ResumeOnReconnect(MeasurementPanel &panel, QObject *context)
{
    QObject::connect(&linkRecovery(), &LinkRecovery::linkRestored, context, [&panel](int, bool reopened) {
        if (reopened)
            ResumeMeasurement(panel);
    });
}

void StopMeasurement(MeasurementPanel &panel)
{
    if (!panel.timerEnabled()) {
        MCA_Command(QStringLiteral("E"));
        state().StopRequest = 0;
    } else {
        RequestStop();
    }
}

} // namespace pxr3
