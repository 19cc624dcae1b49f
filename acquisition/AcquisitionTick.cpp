#include "acquisition/AcquisitionTick.h"

#include "acquisition/CountingStatistics.h"
#include "acquisition/CycleSpectrum.h"
#include "acquisition/DataLog.h"
#include "acquisition/Hlazeni.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/DateTimeText.h"
#include "core/NumberText.h"
#include "core/RoiSums.h"
#include "core/SharedState.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/LinkReceiver.h"
#include "devicelink/LinkRecovery.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"
#include "records/MeasurementTable.h"
#include "records/MeasuringConditions.h"

#include <QCoreApplication>
#include <cmath>

namespace pxr3 {

namespace {

constexpr int64_t kLinkLossUs = int64_t(kLinkLossSeconds) * 1'000'000;

double FieldNumber(QString text) { return ParseDecimal(text); }

// The analyser stopped by the next tick: the whole spectrum fetched, the measurement ended.
void StopSequence(AcquisitionView &view)
{
    view.setTimerEnabled(false);
    MCA_Command(QStringLiteral("D"));
    MCA_Command(QStringLiteral("E"));
    state().MeasureState = 4;
}

// The rate of counts that took `seconds`, with the dead-time correction n / (1 - n tau).
double CorrectedRate(double counts, int seconds)
{
    double rate = counts / seconds;
    const double lost = rate * acquisition().DeadTimeUs / 1e6;
    if (lost < 1.0)
        rate /= 1.0 - lost;
    return rate;
}

// One point per good frame at the frame's own rate; the time advances by the frame's time.
void CoursePoint(AcquisitionView &view)
{
    SharedState &s = state();
    AcquisitionState &a = acquisition();
    ++a.CourseTick;
    a.CourseTime = view.courseStart() + a.TickTime * double(a.CourseTick) / 24 / 60 / 60;
    a.RoiCounts = CorrectedRate(a.RoiCounts, a.TickTime);
    if (view.smoothingChecked()) {
        const SmoothedRateResult smoothed = SmoothedRate(float(a.RoiCounts), s.RoiBounds(3));
        if (!smoothed.ok)
            commLog().append(QStringLiteral("Vyhlazení selhalo (neplatné číslo), použita poslední hodnota."));
        a.RoiCounts = smoothed.rate;
    }
    view.addCoursePoint(a.CourseTime, a.RoiCounts);
    if (!view.logDataChecked())
        return;
    const double activity =
        LogActivity(a.RoiCounts, FieldNumber(view.backgroundText()), FieldNumber(view.calFactorText()));
    const FileResult written = AppendDataLog(DataLogLine(NowDays(), a.RoiCounts, activity, a.TickTime));
    // Said once, not every 2 s; said again after the log could be written once more.
    if (!written.ok && !a.dataLogFailureNoted)
        commLog().append(QStringLiteral("DATA_LOG.TXT nelze zapsat: ") + written.error);
    a.dataLogFailureNoted = !written.ok;
}

// The read-outs follow the whole spectrum the graph shows, over the time its counts took.
void RateAndActivity(AcquisitionView &view, bool over)
{
    if (over) {
        // A clipped count gives no number worth showing.
        const QString overText = QStringLiteral("O V E R !");
        view.showReadout({overText, QString(), overText, QString(), QString(), QString()});
        return;
    }
    view.showReadout(SpectrumReadout(RoiSumCycle(), state().CycleSpectrumTime, FieldNumber(view.backgroundText()),
                                     FieldNumber(view.calFactorText())));
}

// Said once until the frames' times are plausible again.
void NoteFrameTime(bool plausible, int seconds)
{
    AcquisitionState &a = acquisition();
    if (!plausible && !a.frameTimeNoted)
        commLog().append(QStringLiteral("Snímek s nepřípustným časem %1 s: impulzy přičteny, čas ne.").arg(seconds));
    a.frameTimeNoted = !plausible;
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
    // A printout of simulated results must never pass for a measured one.
    if (IsSimulated())
        table.noteRowsFromSimulator();
    a.RoiCounts = RoiSumCycle();
    // Without a radionuclide selected the working values stand in; a record that is not
    // there must not be read.
    const NuclideRecord *record = CurrentRecord();
    if (!record && !a.noRecordNoted) {
        commLog().append(QStringLiteral("Není vybrán radionuklid: emise počítána s pracovními hodnotami KF a pozadí."));
        a.noRecordNoted = true;
    }
    const NuclideRecord set = MeasuringSet();
    const double background = set.background;
    const double calFactor = set.calFactor;
    // The running row's rate is that of the counts so far; at the cycle's end their time is T.
    const auto result = EvaluateCounts(a.RoiCounts, s.CycleSpectrumTime, background, calFactor);
    table.setText(row, 2, result ? ExpText(result->activity, 3) : QString());
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
    a.TickTime = link().FrameTime;
    const int64_t now = programClock().nowUs();
    if (a.linkLossShown || a.reconnected) {
        // The time without data: since the last good frame, less the time this one covers.
        const int64_t gapUs = now - a.lastGoodFrameUs - int64_t(std::max<int16_t>(a.TickTime, 0)) * 1'000'000;
        if (s.MeasureState == 1)
            a.cycleGapSeconds += int(std::max<int64_t>(gapUs, 0) / 1'000'000);
        if (a.linkLossShown)
            commLog().event(QStringLiteral("Data z analyzátoru opět přicházejí."));
        a.linkLossShown = false;
        a.reconnected = false;
        linkRecovery().dataArrived();
    }
    a.lastGoodFrameUs = now;
    a.watchSinceUs = now;
    a.RoiCounts = RoiSumReceived();
    const bool over = a.RoiCounts > kOverCounts;
    const CycleAddition added = AddReceivedToCycle(a.TickTime);
    NoteFrameTime(added.time, a.TickTime);
    view.redrawSpectrum(250);
    // A frame without a time of its own has no rate to plot or log.
    if (s.CourseWindowOpen == -1 && added.time)
        CoursePoint(view);
    RateAndActivity(view, over);
    if (s.MeasureState == 1 && s.MeasureTime > 0)
        CycleRow(view);
    s.ReadingBusy = 0;
}

void FailedReading()
{
    const SharedState &s = state();
    if (s.MeasureState != 1)
        return;
    ++acquisition().cycleFailedReadings;
    measurementTable().setText(s.CurrentRow, 1, NowText());
    measurementTable().setTextColour(s.CurrentRow, 1, kLightRedText);
}

// Users of such programs find acquisitions that stopped silently overnight: a link that
// delivers nothing for a while says so, and says when it is back.
void WatchLink(AcquisitionView &view)
{
    AcquisitionState &a = acquisition();
    if (a.linkLossShown || programClock().nowUs() - a.watchSinceUs < kLinkLossUs)
        return;
    a.linkLossShown = true;
    ++a.linkLosses;
    const char *const silence =
        QT_TRANSLATE_NOOP("AcquisitionTick", "Z analyzátoru nepřišla %1 s žádná data – zkontrolujte spojení.");
    const QString text = QString::fromUtf8(silence).arg(kLinkLossSeconds);
    commLog().event(text);
    commLog().setStatus(text, QCoreApplication::translate("AcquisitionTick", silence).arg(kLinkLossSeconds));
    view.showDelivering(false);
    // An analyser that stays silent is let go and opened again, as one that was unplugged; a
    // link the operator closed stays closed.
    if (DeviceOpen())
        linkRecovery().lost(QStringLiteral("žádná data %1 s").arg(kLinkLossSeconds));
}

// A finished table shows where the night went wrong, in the note the operator may overwrite.
void CycleTrace()
{
    AcquisitionState &a = acquisition();
    const int row = state().CurrentRow;
    const QString note = CycleTraceNote(a.cycleFailedReadings, a.cycleGapSeconds);
    if (!note.isEmpty() && measurementTable().text(row, 5).isEmpty())
        measurementTable().setText(row, 5, note);
    a.completedFailedReadings = a.cycleFailedReadings;
    a.completedGapSeconds = a.cycleGapSeconds;
    a.cycleFailedReadings = 0;
    a.cycleGapSeconds = 0;
}

} // namespace

AcquisitionState &acquisition()
{
    static AcquisitionState instance;
    return instance;
}

TickNotifier::TickNotifier()
{
    SetDataQueuedHandler([this] { emit wakeRequested(); });
}

TickNotifier &tickNotifier()
{
    static TickNotifier instance;
    return instance;
}

void ResetAcquisition() { acquisition() = AcquisitionState{}; }

Readout SpectrumReadout(double counts, int seconds, double background, double calFactor)
{
    Readout shown;
    const auto r = EvaluateCounts(counts, seconds, background, calFactor);
    if (!r)
        return shown; // no time yet: nothing to divide by
    const QString plusMinus = QStringLiteral("± ");
    shown.rate = ExpText(r->grossRate, 4);
    shown.rateU = plusMinus + ExpText(r->netRateU, 2);
    // A factor of 1 or less is not applied: no activity, so no limits for it either.
    if (!(calFactor > 1)) {
        shown.activity = ExpText(0, 4);
        return shown;
    }
    shown.activity = r->detected ? ExpText(r->activity, 4) : QStringLiteral("< ") + ExpText(r->limit, 4);
    if (r->detected)
        shown.activityU = plusMinus + ExpText(r->activityU, 2);
    shown.threshold = QStringLiteral("a* = ") + ExpText(r->threshold, 4);
    shown.limit = QStringLiteral("a# = ") + ExpText(r->limit, 4);
    return shown;
}

void RestartCoursePoints() { acquisition().CourseTick = 0; }

void NoteAcquisitionStarted()
{
    AcquisitionState &a = acquisition();
    a.lastGoodFrameUs = a.watchSinceUs = programClock().nowUs();
    a.linkLossShown = false;
    a.reconnected = false;
}

void NoteAcquisitionResumed()
{
    AcquisitionState &a = acquisition();
    a.watchSinceUs = programClock().nowUs();
    a.reconnected = true;
}

QString CycleTraceNote(int failedReadings, int gapSeconds)
{
    QStringList parts;
    if (failedReadings > 0)
        parts << QStringLiteral("chybná čtení: %1").arg(failedReadings);
    if (gapSeconds > 0)
        parts << QStringLiteral("výpadek: %1 s").arg(gapSeconds);
    return parts.join(QStringLiteral(", "));
}

int64_t NextTickDueUs()
{
    const SharedState &s = state();
    if (s.ReadingBusy == -1 || LinkBusy() || DataFrameReady() || s.StopRequest == -1)
        return programClock().nowUs();
    const AcquisitionState &a = acquisition();
    return a.linkLossShown ? kNoTickDue : a.watchSinceUs + kLinkLossUs;
}

void RequestStop()
{
    state().StopRequest = -1;
    emit tickNotifier().wakeRequested();
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
    const DataReading reading = USB_ReadData();
    view.showReading(link().Reply);
    if (reading == DataReading::Good)
        GoodFrame(view);
    else
        FailedReading();
    if (s.CycleTick >= s.MeasureTime / 2) {
        if (s.MeasureState == 1)
            CycleTrace();
        s.MeasureState = 0;
        s.CycleTick = 0;
        link().TotalTime = 0;
        acquisition().CourseTick = 0; // each cycle's points start again at the axis' left end
    }
    // A stop asked for during this tick; one asked before it has been carried out above.
    if (s.StopRequest == -1 && view.timerEnabled())
        StopSequence(view);
    // The analyser has been stopped: the picture must not say that data are coming.
    if (!view.timerEnabled())
        view.showDelivering(false);
    emit tickNotifier().ticked();
}

} // namespace pxr3
