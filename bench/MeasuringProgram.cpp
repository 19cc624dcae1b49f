#include "bench/MeasuringProgram.h"

#include "acquisition/AcquisitionTick.h"
#include "acquisition/frm_USBkom.h"
#include "core/CommLog.h"
#include "core/MDIForm1.h"
#include "core/MainStartup.h"
#include "core/SharedState.h"
#include "core/WorkCommands.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"
#include "records/WindowPlacement.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace pxr3::bench {

MeasuringProgram::MeasuringProgram(SimulatedAnalyser::Pace pace, bool smoothing, Start start)
{
    ResetSharedState();
    ResetLinkState();
    ResetAcquisition();
    commLog().clear();
    auto owned = std::make_unique<SimulatedAnalyser>(pace, 5);
    analyser_ = owned.get();
    SetDriver(std::move(owned));

    const ProgramWindows windows = StartProgram(true);
    main_.reset(windows.main);
    usbkom_ = windows.usbkom;
    if (start == Start::Series) {
        usbkom_->text2()->setText(QStringLiteral("10"));
        state().RepeatCount = 1999;
        workCommands().NewMeasurement(); // "&Start"
    } else {
        usbkom_->command4(8)->click(); // "Start  F5"
    }
    usbkom_->Command6_Click(); // "Průběh F2"
    usbkom_->check(1)->setChecked(true);
    if (smoothing) {
        usbkom_->check(2)->click();
        usbkom_->text3(2)->setText(QStringLiteral("3"));
    }
}

MeasuringProgram::~MeasuringProgram()
{
    usbkom_->timer()->stop();
    MCA_Command(QStringLiteral("E"));
    USB_Close();
    main_.reset();
    SetMainWindowPlacement(nullptr);
    SetLinkHooks({});
    workCommands() = WorkCommands();
    SetDriver(nullptr);
    commLog().clear();
}

bool MeasuringProgram::measuring() const { return analyser_->measuring() && usbkom_->timer()->isActive(); }

} // namespace pxr3::bench
