#include "core/SeriesOnWindows.h"

#include "acquisition/frm_USBkom.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/MDIForm1.h"
#include "core/ParameterDisplay.h"
#include "records/TableCommands.h"

namespace pxr3 {

namespace {
// The buttons of the communication window the series presses.
constexpr int kWriteVoltage = 2;
constexpr int kStop = 13;
} // namespace

void SeriesOnWindows::setSeriesRunning(bool running) { main_->setSeriesRunning(running); }
void SeriesOnWindows::applyMeasuringSet() { ApplyMeasuringSet(main_, usbkom_); }
void SeriesOnWindows::emptyLog() { commLog().clear(); }
void SeriesOnWindows::writeVoltage() { usbkom_->Command4_Click(kWriteVoltage); }
void SeriesOnWindows::startMeasuring() { usbkom_->StartForSeries(); }
void SeriesOnWindows::clearCycle() { usbkom_->Command5_Click(); }
void SeriesOnWindows::stopMeasuring() { usbkom_->Command4_Click(kStop); }
void SeriesOnWindows::showIdle() { main_->showDelivering(false); }
bool SeriesOnWindows::clearTable() { return ClearTable(); }
bool SeriesOnWindows::acquisitionRunning() const { return usbkom_->timer()->isActive(); }

void SeriesOnWindows::showProgress(const QString &text, int secondsDone, int secondsPerCycle)
{
    main_->showSeriesProgress(text, secondsDone, secondsPerCycle);
}

void SeriesOnWindows::showWarning(const QString &text) { main_->setStatusText(text); }

} // namespace pxr3
