#include "core/Station.h"

#include "core/CommLog.h"
#include "core/CommLogFile.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/Startup.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/LinkRecovery.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"
#include "records/MeasurementTable.h"
#include "records/MeasuringConditions.h"
#include "records/SettingsFiles.h"
#include "records/TableCommands.h"

namespace pxr3 {

Station::Station(const StationOptions &options, Output lines, Output warnings, QObject *parent)
    : QObject(parent), options_(options), lines_(std::move(lines)), warnings_(std::move(warnings))
{
    view_.logData = options.logData;
}

Station::~Station() = default;

bool Station::start()
{
    PrepareProgramFolders();
    InstallCommLogFile();
    LoadSaveConfig(1);
    ResetMeasurementState();
    ClearTable();
    // The frames are logged as they are plotted: as if the time course were open.
    if (options_.logData) {
        RestartCoursePoints();
        state().CourseWindowOpen = -1;
    }
    SetLinkHooks({[this] { return view_.highVoltage; }, [this] { return view_.time; }, nullptr});
    ResumeOnReconnect(view_, this);
    connect(&linkRecovery(), &LinkRecovery::linkLost, this,
            [this](const QString &reason) { warnings_(QStringLiteral("link lost: ") + reason); });
    connect(&linkRecovery(), &LinkRecovery::linkRestored, this,
            [this](int seconds) { warnings_(QStringLiteral("link restored after %1 s").arg(seconds)); });

    if (IsSimulated())
        NoteSimulatedAnalyser();
    state().LinkStatus = static_cast<int16_t>(USB_Open());
    if (state().LinkStatus != 1) {
        warnings_(QStringLiteral("no analyser answered"));
        emit ended(1);
        return false;
    }
    MCA_Command(QStringLiteral("R"));
    MCA_Command(QStringLiteral("E"));
    state().ReadingBusy = 0;

    connect(&tickNotifier(), &TickNotifier::ticked, this, [this] {
        if (finishing_)
            closeWhenStopped();
    });
    series_ = new MeasurementSeries(std::make_unique<HeadlessControls>(
                                        view_, [this] { applyMeasuringSet(); }, warnings_),
                                    this);
    connect(series_, &MeasurementSeries::cycleRecorded, this, &Station::noteCompletedCycle);
    connect(series_, &MeasurementSeries::finished, this, &Station::onFinished);
    series_->NewMeasurement();
    return true;
}

void Station::applyMeasuringSet()
{
    view_.takeWorkingValues(ApplyCurrentRecord());
    if (options_.seconds > 0)
        view_.time = IntText(options_.seconds);
    if (options_.cycles > 0)
        state().RepeatCount = static_cast<int16_t>(options_.cycles);
    series_->setUntilStopped(options_.cycles == 0);
    repeatCount_ = options_.cycles == 0 ? 0 : state().RepeatCount;
}

void Station::noteCompletedCycle(const CycleReport &report)
{
    ++printed_;
    lines_(CycleLine(report.row, report.cycle, report.cycles));
    emit cycleRecorded(report);
}

void Station::stop()
{
    stopped_ = true;
    if (!series_ || !series_->running()) {
        emit ended(0);
        return;
    }
    StopMeasurement(view_);
    series_->StopRequested();
}

void Station::onFinished()
{
    finishing_ = true;
    closeWhenStopped();
}

// The series' stop is carried out by the next tick ("D", "E"): the device closes after it.
void Station::closeWhenStopped()
{
    if (view_.timerEnabled())
        return;
    finishing_ = false;
    USB_Close();
    if (!series_->autosavePath().isEmpty())
        warnings_(QStringLiteral("saved in ") + series_->autosavePath());
    emit ended(stopped_ || (repeatCount_ > 0 && printed_ >= repeatCount_) ? 0 : 1);
}

QString CycleLine(int row, int cycle, int cycles)
{
    const MeasurementTable &table = measurementTable();
    const double counts = table.text(row, 3).toDouble();
    const int seconds = table.text(row, 4).toInt();
    const NuclideRecord set = MeasuringSet();
    const Readout r = SpectrumReadout(counts, seconds, set.background, set.calFactor);
    QString line = table.text(row, 1) + QStringLiteral(" cycle %1").arg(cycle);
    if (cycles > 0)
        line += QStringLiteral("/%1").arg(cycles);
    line += QStringLiteral(" ROI %1 T %2 s rate %3 %4 1/s activity %5")
                .arg(table.text(row, 3), table.text(row, 4), r.rate, r.rateU, r.activity);
    if (!r.activityU.isEmpty())
        line += QLatin1Char(' ') + r.activityU;
    return line + QStringLiteral(" Bq/m³");
}

} // namespace pxr3
