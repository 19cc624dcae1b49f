#pragma once
// The whole program's windows measuring with the simulated analyser, as an operator sets
// them up: start-up, "Start F5" (or a series of 10 s cycles), "Průběh F2" and "LOG data" ticked.

#include "devicelink/SimulatedAnalyser.h"

#include <memory>

namespace pxr3 {
class MDIForm1;
class frm_USBkom;
} // namespace pxr3

namespace pxr3::bench {

class MeasuringProgram {
public:
    enum class Start { Measurement, Series };
    // Runs on whatever program clock is installed; the analyser is made on it. A series starts
    // the analyser half a second later, once the high voltage has settled.
    MeasuringProgram(SimulatedAnalyser::Pace pace, bool smoothing, Start start = Start::Measurement);
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
