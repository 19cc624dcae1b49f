#pragma once
// The whole program's windows measuring with the simulated analyser, as an operator sets
// them up: start-up, "Start F5", "Průběh F2" and "LOG data" ticked.

#include "devicelink/SimulatedAnalyser.h"

#include <memory>

namespace pxr3 {
class MDIForm1;
class frm_USBkom;
}

namespace pxr3::bench {

class MeasuringProgram {
public:
    // Runs on whatever program clock is installed; the analyser is made on it.
    MeasuringProgram(SimulatedAnalyser::Pace pace, bool smoothing);
    ~MeasuringProgram(); // stops the analyser and closes the windows
    MeasuringProgram(const MeasuringProgram &) = delete;
    MeasuringProgram &operator=(const MeasuringProgram &) = delete;

    bool measuring() const;
    uint64_t framesSent() const { return analyser_->framesSent(); }

private:
    SimulatedAnalyser *analyser_ = nullptr;
    std::unique_ptr<MDIForm1> main_;
    frm_USBkom *usbkom_ = nullptr;
};

} // namespace pxr3::bench
