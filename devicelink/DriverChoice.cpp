#include "devicelink/DriverChoice.h"

#include "devicelink/FtdiDriver.h"
#include "devicelink/SerialPortDriver.h"
#include "devicelink/SimulatedAnalyser.h"

#include <random>

namespace pxr3 {

namespace {
std::unique_ptr<Driver> &installed()
{
    static std::unique_ptr<Driver> current;
    return current;
}
} // namespace

std::unique_ptr<Driver> MakeDriver(const CommandLine &options)
{
    if (options.simulate)
        return std::make_unique<SimulatedAnalyser>(SimulatedAnalyser::Pace::RealTime, std::random_device{}());
    if (!options.port.isEmpty())
        return std::make_unique<SerialPortDriver>(options.port.toStdString());
    return std::make_unique<FtdiDriver>();
}

void SetDriver(std::unique_ptr<Driver> next) { installed() = std::move(next); }

Driver &driver()
{
    if (!installed())
        installed() = std::make_unique<FtdiDriver>();
    return *installed();
}

bool IsSimulated() { return dynamic_cast<SimulatedAnalyser *>(&driver()) != nullptr; }

} // namespace pxr3
