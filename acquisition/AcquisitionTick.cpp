#include "acquisition/AcquisitionTick.h"

#include "acquisition/CycleSpectrum.h"
#include "acquisition/DataLog.h"
#include "acquisition/Hlazeni.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/DateTimeText.h"
#include "core/NumberText.h"
#include "core/RoiSums.h"
#include "core/SharedState.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"
#include "records/MeasurementTable.h"

#include <cmath>

namespace pxr3 {

namespace {

constexpr int64_t kLinkLossUs = int64_t(kLinkLossSeconds) * 1'000'000;
constexpr double kSecondsPerDay = 86400.0;

int TickSeconds() { return acquisition().TickTime > 0 ? acquisition().TickTime : 1; }

double FieldNumber(QString text) { return ParseDecimal(text); }

// The analyser stopped by the next tick: the whole spectrum fetched, the measurement ended.
void StopSequence(AcquisitionView &view)
{
    view.setTimerEnabled(false);
    MCA_Command(QStringLiteral("D"));
    MCA_Command(QStringLiteral("E"));
    state().MeasureState = 4;
}

// Rate per tick; the dead-time correction n / (1 - n tau) sits between the division and the
// multiplication, as the instrument's evaluation has it.
double CorrectedCounts(double counts)
{
    const AcquisitionState &a = acquisition();
    double rate = counts / TickSeconds();
    const double lost = rate * a.DeadTimeUs / 1e6;
    if (lost < 1.0)
        rate /= 1.0 - lost;
    return TickSeconds() * rate;
}

void CoursePoint(AcquisitionView &view)
{
    SharedState &s = state();
    AcquisitionState &a = acquisition();
    a.CourseTime = view.courseStart() + TickSeconds() * double(s.CycleTick) / 24 / 60 / 60;
    a.RoiCounts = CorrectedCounts(a.RoiCounts);
    if (view.smoothingChecked()) {
        const SmoothedRateResult smoothed = SmoothedRate(float(a.RoiCounts), s.RoiBounds(3));
        if (!smoothed.ok)
            commLog().append(QStringLiteral("Vyhlazení selhalo (neplatné číslo), použita poslední hodnota."));
        a.RoiCounts = smoothed.rate;
    } else {
        a.RoiCounts /= TickSeconds();
    }
    view.addCoursePoint(a.CourseTime, a.RoiCounts);
    if (!view.logDataChecked())
        return;
    const double activity =
        LogActivity(a.RoiCounts, TickSeconds(), FieldNumber(view.backgroundText()), FieldNumber(view.calFactorText()));
    const FileResult written = AppendDataLog(DataLogLine(NowDays(), a.RoiCounts, activity, TickSeconds()));
    // Said once, not every 2 s; said again after the log could be written once more.
    if (!written.ok && !a.dataLogFailureNoted)
        commLog().append(QStringLiteral("DATA_LOG.TXT nelze zapsat: ") + written.error);
    a.dataLogFailureNoted = !written.ok;
}

void RateAndActivity(AcquisitionView &view)
{
    SharedState &s = state();
    AcquisitionState &a = acquisition();
    if (s.MeasureTime <= 0)
        return;
    if (a.RoiCounts > 32000) {
        a.RoiCounts = 32000;
        view.showRate(QStringLiteral("O V E R !"));
    } else {
        view.showRate(ExpText(a.RoiCounts / s.MeasureTime, 4));
    }
    a.KF = float(FieldNumber(view.calFactorText()));
    a.Activity = a.KF > 1 ? float((a.RoiCounts - s.MeasureTime * FieldNumber(view.backgroundText())) / s.MeasureTime * a.KF)
                          : 0.0f;
    view.showActivity(ExpText(a.Activity, 4));
}

// The running cycle's result in its row of the table.
void CycleRow(AcquisitionView &view)
{
    SharedState &s = state();
    AcquisitionState &a = acquisition();
    MeasurementTable &table = measurementTable();
    const int row = s.CurrentRow;
    table.setTextColour(row, 1, kBlackText);
    table.setText(row, 1, NowText());
    a.RoiCounts = RoiSumCycle();
    // Without a radionuclide selected the working values stand in; a record that is not
    // there must not be read.
    const NuclideRecord *record = CurrentRecord();
    if (!record && !a.noRecordNoted) {
        commLog().append(QStringLiteral("Není vybrán radionuklid: emise počítána s pracovními hodnotami KF a pozadí."));
        a.noRecordNoted = true;
    }
    const double background = record ? record->background : s.WorkBackground;
    const double calFactor = record ? record->calFactor : s.WorkCalFactor;
    table.setText(row, 2, ExpText((a.RoiCounts / s.MeasureTime - background) * calFactor, 3));
    table.setText(row, 3, IntText(std::llround(a.RoiCounts)));
    table.setText(row, 4, IntText(link().TotalTime));
    const int inView = view.rowsInView();
    if (inView > 1 && inView <= row)
        table.setTopRow(std::abs(row - inView + 1));
    view.showRoiCounts(IntText(std::llround(a.RoiCounts)));
}

void GoodFrame(AcquisitionView &view)
{
    SharedState &s = state();
    AcquisitionState &a = acquisition();
    s.ReadingBusy = -1;
    s.CycleTick += 1;
    a.lastGoodFrameUs = programClock().nowUs();
    if (a.linkLossShown) {
        a.linkLossShown = false;
        commLog().append(QStringLiteral("Data z analyzátoru opět přicházejí."));
    }
    a.RoiCounts = RoiSumReceived();
    if (!AddReceivedToCycle())
        commLog().append(QStringLiteral("Přetečení kanálu: součet spektra přesáhl rozsah, kanál ponechán."));
    view.redrawSpectrum(250);
    if (s.CourseWindowOpen == -1)
        CoursePoint(view);
    RateAndActivity(view);
    if (s.MeasureState == 1 && s.MeasureTime > 0)
        CycleRow(view);
    s.ReadingBusy = 0;
}

void FailedReading()
{
    const SharedState &s = state();
    if (s.MeasureState != 1)
        return;
    measurementTable().setText(s.CurrentRow, 1, NowText());
    measurementTable().setTextColour(s.CurrentRow, 1, kLightRedText);
}

// Users of such programs find acquisitions that stopped silently overnight: a link that
// delivers nothing for a while says so, and says when it is back.
void WatchLink(AcquisitionView &view)
{
    AcquisitionState &a = acquisition();
    if (a.linkLossShown || programClock().nowUs() - a.lastGoodFrameUs < kLinkLossUs)
        return;
    a.linkLossShown = true;
    ++a.linkLosses;
    const QString text = QStringLiteral("Z analyzátoru nepřišla %1 s žádná data – zkontrolujte spojení.")
                             .arg(kLinkLossSeconds);
    commLog().append(NowText() + QStringLiteral("  ") + text);
    commLog().setStatus(text);
    view.showDelivering(false);
}

} // namespace

AcquisitionState &acquisition()
{
    static AcquisitionState instance;
    return instance;
}

TickNotifier &tickNotifier()
{
    static TickNotifier instance;
    return instance;
}

void ResetAcquisition() { acquisition() = AcquisitionState{}; }

void NoteAcquisitionStarted()
{
    acquisition().lastGoodFrameUs = programClock().nowUs();
    acquisition().linkLossShown = false;
}

void Timer1_Timer(AcquisitionView &view)
{
    SharedState &s = state();
    // A command waiting for its reply owns the link; frames wait in the queue meanwhile.
    if (s.ReadingBusy == -1 || LinkBusy())
        return;
    const bool stopping = s.StopRequest == -1;
    if (stopping)
        StopSequence(view);
    else if (!DataFrameReady()) {
        WatchLink(view);
        return; // nothing has come yet: nothing changes
    }
    link().Reply.clear();
    view.showDelivering(true);
    USB_ReadData();
    view.showReading(link().Reply);
    if (link().Reply == QLatin1String("DATA Ok"))
        GoodFrame(view);
    else
        FailedReading();
    if (s.CycleTick >= s.MeasureTime / 2) {
        s.MeasureState = 0;
        s.CycleTick = 0;
        link().TotalTime = 0;
    }
    if (s.StopRequest == -1)
        StopSequence(view);
    // The analyser has been stopped: the picture must not say that data are coming.
    if (!view.timerEnabled())
        view.showDelivering(false);
    emit tickNotifier().ticked();
}

} // namespace pxr3
