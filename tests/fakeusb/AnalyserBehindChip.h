#pragma once
// The simulated analyser on the serial side of the emulated FT232R. The host's bulk writes
// reach it through the event loop of the thread that made it, whichever thread wrote; what it
// sends, at its wire's pace, goes into the bridge's buffer for the host.

#include "devicelink/SimulatedAnalyser.h"

#include <QByteArray>
#include <QObject>

namespace pxr3::test {

class AnalyserBehindChip : public QObject {
public:
    explicit AnalyserBehindChip(SimulatedAnalyser::Device device = SimulatedAnalyser::Analyser());
    ~AnalyserBehindChip() override;

    // The bridge appears on the bus with the analyser switched on behind it (closed, not
    // measuring), or goes with the analyser.
    void plugIn();
    void unplug();

    SimulatedAnalyser &analyser() { return analyser_; }
    // Host writes the analyser could not make out: the bridge's line was not set as it speaks.
    int misheard() const { return misheard_; }

private:
    void hear(const QByteArray &bytes);
    void speak();

    SimulatedAnalyser::Device device_;
    SimulatedAnalyser analyser_;
    FtHandle handle_ = 0; // 0 while unplugged
    int misheard_ = 0;
};

} // namespace pxr3::test
