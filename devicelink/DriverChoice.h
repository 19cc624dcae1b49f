#pragma once
// Which backend reaches the analyser: chosen once from the command line at start-up,
// replaced by the tests.

#include "core/CommandLine.h"
#include "devicelink/Driver.h"

#include <memory>

namespace pxr3 {

// --simulate: the simulated analyser in real time; --port DEVICE: that serial port;
// otherwise USB through libftdi1.
std::unique_ptr<Driver> MakeDriver(const CommandLine &options);

void SetDriver(std::unique_ptr<Driver> driver);
Driver &driver(); // USB through libftdi1 until another is set

// The windows show a notice while no real analyser can be reached.
bool IsSimulated();

} // namespace pxr3
