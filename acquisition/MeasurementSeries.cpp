#include "acquisition/MeasurementSeries.h"

#include "acquisition/AcquisitionTick.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/LinkRecovery.h"
#include "records/MeasurementTable.h"
#include "records/SpectrumExport.h"
#include "records/TableCommands.h"
#include "records/TableFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace pxr3 {

namespace {

constexpr int64_t kVoltageSettleUs = 500'000; // the analyser takes the new high voltage
constexpr int64_t kBusyRetryUs = 100'000;
constexpr int kSecondsPerFrame = 2;

} // namespace

MeasurementSeries::MeasurementSeries(std::unique_ptr<SeriesControls> controls, QObject *parent)
    : QObject(parent), controls_(std::move(controls))
{
    connect(&tickNotifier(), &TickNotifier::ticked, this, &MeasurementSeries::onTick);
    // While the analyser is away no tick comes: the status line says what the series waits for.
    const auto showWaiting = [this] {
        if (phase_ == Phase::Measuring)
            showCycleProgress();
    };
    connect(&linkRecovery(), &LinkRecovery::linkLost, this, showWaiting);
    connect(&linkRecovery(), &LinkRecovery::retried, this, showWaiting);
    connect(&linkRecovery(), &LinkRecovery::linkRestored, this, showWaiting);
}

void MeasurementSeries::NewMeasurement()
{
    if (running())
        return;
    SharedState &s = state();
    controls_->setSeriesRunning(true);
    controls_->emptyLog();
    if (s.CurrentRow > 0) {
        if (!AskYesNoDefaultNo(MessageIcon::Question, QString(), tr("Přejete si pokračovat v měření ?"))) {
            if (measurementTable().text(1, 1).size() > 3) {
                if (!AskYesNoDefaultNo(MessageIcon::Question, QString(),
                                       tr("Tabulka obsahuje data, přejete si je zrušit ?"))) {
                    finish(false);
                    return;
                }
                // Rows the operator chose to keep must not be written over.
                if (!controls_->clearTable()) {
                    finish(false);
                    return;
                }
            }
            s.CurrentRow = 1;
        }
    } else {
        s.CurrentRow = 1;
    }
    repeatIndex_ = 0;
    completed_ = 0;
    stopPressed_ = false;
    linkLossesBefore_ = acquisition().linkLosses;
    autosavePath_.clear();
    autosaveError_.clear();
    spectrumFailureShown_ = false;
    controls_->applyMeasuringSet();
    phase_ = Phase::SettlingVoltage; // "Write VN" waits for its reply with events running
    controls_->writeVoltage();
    if (phase_ != Phase::SettlingVoltage)
        return; // the program ended while the command waited
    startAnalyserAfter(kVoltageSettleUs);
}

void MeasurementSeries::startAnalyserAfter(int64_t delayUs)
{
    settleTimer_ = programClock().schedule(delayUs, [this] {
        settleTimer_ = 0;
        startAnalyser();
    });
}

void MeasurementSeries::startAnalyser()
{
    // A stop pressed while the voltage settled ends the series before anything is measured.
    if (stopPressed_) {
        stopAndFinish();
        return;
    }
    // An operator's command is waiting for its reply: "Start" would be refused as busy.
    if (LinkBusy()) {
        startAnalyserAfter(kBusyRetryUs);
        return;
    }
    phase_ = Phase::Measuring;
    controls_->startMeasuring();
    repeatCount_ = state().RepeatCount;
    commLog().event(
        endless() ? QStringLiteral("Série zahájena: cykly po %1 s až do zastavení").arg(state().MeasureTime)
                  : QStringLiteral("Série zahájena: %1 cyklů po %2 s").arg(repeatCount_).arg(state().MeasureTime));
    // The start gave up (MeasureState 4 then, but an earlier stop leaves 4 too): no acquisition
    // runs that could end a cycle.
    if (!controls_->acquisitionRunning()) {
        stopAndFinish();
        return;
    }
    nextCycle();
}

void MeasurementSeries::nextCycle()
{
    if (!endless() && repeatIndex_ >= repeatCount_) {
        stopAndFinish();
        return;
    }
    ++repeatIndex_;
    controls_->clearCycle();
    state().MeasureState = 1;
    showCycleProgress();
}

bool MeasurementSeries::stopWanted() const { return state().MeasureState == 4 || state().StopRequest == -1; }

void MeasurementSeries::onTick()
{
    if (phase_ != Phase::Measuring)
        return;
    if (state().MeasureState == 0)
        cycleCompleted();
    else if (stopWanted())
        stopAndFinish(); // the running cycle's row is not counted
    else
        showCycleProgress();
}

void MeasurementSeries::cycleCompleted()
{
    SharedState &s = state();
    ++completed_;
    autosave();
    keepCycleSpectrum();
    emit cycleRecorded(CompletedCycleReport(QFileInfo(autosavePath_).completeBaseName(), s.CurrentRow, repeatIndex_,
                                            endless() ? 0 : repeatCount_));
    continueInNewFileWhenFull();
    s.CurrentRow = std::min(s.CurrentRow + 1, kTableRows);
    if (stopWanted())
        stopAndFinish();
    else
        nextCycle();
}

// The whole table each time: a save that failed is made good by the next one.
void MeasurementSeries::autosave()
{
    // A name of its own for each series: no earlier series' results are written over.
    if (autosavePath_.isEmpty())
        autosavePath_ = NewDataFilePath(QStringLiteral("serie"), QStringLiteral("dat"));
    const FileResult saved = SaveTableFile(measurementTable(), autosavePath_);
    const bool failedBefore = !autosaveError_.isEmpty();
    autosaveError_ = saved.ok ? QString() : saved.error;
    measurementTable().noteUnsavedResults(autosavePath_, autosaveError_);
    if (!saved.ok) {
        const char *const text = QT_TR_NOOP("Automatické uložení do %1 selhalo: %2, další pokus po příštím cyklu");
        commLog().event(QString::fromUtf8(text).arg(QFileInfo(autosavePath_).fileName(), saved.error));
        controls_->showWarning(tr(text).arg(QFileInfo(autosavePath_).fileName(), saved.error));
    } else if (failedBefore) {
        const char *const text = QT_TR_NOOP("Automatické uložení do %1 opět proběhlo");
        commLog().event(QString::fromUtf8(text).arg(QFileInfo(autosavePath_).fileName()));
        controls_->showWarning(tr(text).arg(QFileInfo(autosavePath_).fileName()));
    }
}

// Named after the series' autosave and the row, so a spectrum is found from its row. A failure
// costs neither the row nor the series.
void MeasurementSeries::keepCycleSpectrum()
{
    const QString name = QStringLiteral("%1_%2.%3")
                             .arg(QFileInfo(autosavePath_).completeBaseName())
                             .arg(state().CurrentRow)
                             .arg(SpectrumSuffix(SpectrumFormat::N42));
    const FileResult saved = SaveCycleSpectrumAs(QDir(SpectraFolder()).filePath(name), SpectrumFormat::N42);
    if (saved.ok)
        return;
    const QString text = QStringLiteral("Uložení spektra cyklu do SPEKTRA/%1 selhalo: %2").arg(name, saved.error);
    commLog().event(text);
    if (!spectrumFailureShown_)
        controls_->showWarning(text);
    spectrumFailureShown_ = true;
}

// A long series would write its further cycles over the table's last row: once that row is in
// the autosave, the series goes on in an empty table with a file of its own.
void MeasurementSeries::continueInNewFileWhenFull()
{
    SharedState &s = state();
    const bool more = endless() || repeatIndex_ < repeatCount_;
    if (s.CurrentRow < kTableRows || !more || !autosaveError_.isEmpty())
        return;
    commLog().event(QStringLiteral("Tabulka je plná: %1 uložena, série pokračuje do nového souboru")
                        .arg(QFileInfo(autosavePath_).fileName()));
    measurementTable().reset();
    s.TableModified = 0;
    s.CurrentRow = 0; // the next cycle's row is the first
    autosavePath_.clear();
}

void MeasurementSeries::stopAndFinish()
{
    // A stop the tick has already carried out is not sent again.
    if (controls_->acquisitionRunning())
        controls_->stopMeasuring();
    finish(true);
}

void MeasurementSeries::finish(bool report)
{
    phase_ = Phase::Idle;
    controls_->setSeriesRunning(false);
    controls_->showIdle();
    if (report) {
        commLog().event(outcomeText(false));
        controls_->showProgress(outcomeText(true), 0, 0);
    }
    emit finished();
}

QString MeasurementSeries::outcomeText(bool shown) const
{
    // The log keeps the Czech text; the status bar shows it in the user's language.
    const auto text = [shown](const char *source) { return shown ? tr(source) : QString::fromUtf8(source); };
    QString result = text(QT_TR_NOOP("Série skončila: ")) +
        (endless() ? text(QT_TR_NOOP("%1 cyklů")).arg(completed_)
                   : text(QT_TR_NOOP("%1 z %2 cyklů")).arg(completed_).arg(repeatCount_));
    if (!autosaveError_.isEmpty())
        result += text(QT_TR_NOOP(", NEULOŽENO (%1: %2)")).arg(QFileInfo(autosavePath_).fileName(), autosaveError_);
    else if (!autosavePath_.isEmpty())
        result += text(QT_TR_NOOP(", uloženo v ")) + QFileInfo(autosavePath_).fileName();
    // An unattended night's gaps are found here in the morning, not only in a log since emptied.
    if (const int losses = acquisition().linkLosses - linkLossesBefore_)
        result += text(QT_TR_NOOP(", výpadky spojení: %1")).arg(losses);
    return result;
}

void MeasurementSeries::StopRequested()
{
    stopPressed_ = true;
    if (phase_ == Phase::Measuring && !controls_->acquisitionRunning())
        stopAndFinish();
}

void MeasurementSeries::Abandon()
{
    if (!running())
        return;
    if (settleTimer_)
        programClock().cancel(settleTimer_);
    settleTimer_ = 0;
    phase_ = Phase::Idle;
}

void MeasurementSeries::showCycleProgress()
{
    const SharedState &s = state();
    const int perCycle = std::max<int>(s.MeasureTime, kSecondsPerFrame);
    const int done = std::min(int(s.CycleTick) * kSecondsPerFrame, perCycle);
    QString text = linkRecovery().recovering()
        ? tr("Série čeká na analyzátor, výpadek %1 (cyklus %2 z %3)")
              .arg(OutageText(linkRecovery().outageSeconds()))
              .arg(repeatIndex_)
              .arg(endless() ? QStringLiteral("∞") : QString::number(repeatCount_))
        : endless() ? tr("Série: cyklus %1, až do zastavení").arg(repeatIndex_)
                    : tr("Série: cyklus %1 z %2").arg(repeatIndex_).arg(repeatCount_);
    // Stays in sight for as long as the results are not in the file.
    if (!autosaveError_.isEmpty())
        text += tr(" – automatické uložení selhalo");
    controls_->showProgress(text, done, perCycle);
}

} // namespace pxr3
