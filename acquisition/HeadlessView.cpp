#include "acquisition/HeadlessView.h"

#include "acquisition/CycleSpectrum.h"
#include "core/CommLog.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"
#include "records/TableCommands.h"

namespace pxr3 {

namespace {
constexpr int64_t kTickUs = 100'000;
} // namespace

HeadlessView::HeadlessView() : timer_([this] { Timer1_Timer(*this); }) { }

void HeadlessView::closeLink() { USB_Close(); }

void HeadlessView::openLink() { state().LinkStatus = static_cast<int16_t>(USB_Open()); }

void HeadlessView::setTimerEnabled(bool enabled)
{
    if (enabled)
        timer_.start(kTickUs);
    else
        timer_.stop();
}

void HeadlessView::takeWorkingValues(bool fromSet)
{
    SharedState &s = state();
    roi[0] = IntText(fromSet ? s.WorkLeftRoi : s.RoiBounds(1));
    roi[1] = IntText(fromSet ? s.WorkRightRoi : s.RoiBounds(2));
    highVoltage = IntText(fromSet ? s.WorkHighVoltage : s.DeviceHighVoltage);
    time = IntText(s.MeasureTime);
    calFactor = FloatText(s.WorkCalFactor);
    background = FloatText(s.WorkBackground);
}

void HeadlessControls::emptyLog() { commLog().clear(); }

void HeadlessControls::writeVoltage() { MCA_Command(QStringLiteral("W")); }

void HeadlessControls::startMeasuring()
{
    if (!RefuseWhenBusy())
        StartSeriesMeasurement(view_);
}

void HeadlessControls::clearCycle()
{
    commLog().clear();
    EraseCycleSpectrum();
}

void HeadlessControls::stopMeasuring() { StopMeasurement(view_); }

bool HeadlessControls::clearTable() { return ClearTable(); }

} // namespace pxr3
