#include "AnalyserBehindChip.h"

#include "FakeFt232r.h"

namespace pxr3::test {

AnalyserBehindChip::AnalyserBehindChip(SimulatedAnalyser::Device device)
    : device_(std::move(device)), analyser_(SimulatedAnalyser::Pace::RealTime)
{
    analyser_.setDevices({device_});
    analyser_.setArrivalHandler([this] { speak(); });
    fakeusb::SetTransmitHandler([this](const std::string &bytes) {
        QMetaObject::invokeMethod(
            this, [this, written = QByteArray::fromStdString(bytes)] { hear(written); }, Qt::QueuedConnection);
    });
}

AnalyserBehindChip::~AnalyserBehindChip()
{
    fakeusb::SetTransmitHandler(nullptr);
    if (handle_)
        unplug();
}

void AnalyserBehindChip::plugIn()
{
    fakeusb::PlugIn({"FTDI", device_.description, device_.serial});
    analyser_.openBySerial(device_.serial, handle_);
}

void AnalyserBehindChip::unplug()
{
    fakeusb::Unplug();
    analyser_.close(handle_);
    handle_ = 0;
}

void AnalyserBehindChip::hear(const QByteArray &bytes)
{
    if (!handle_)
        return;
    // The analyser's own line settings decide whether it makes out the bridge's.
    const fakeusb::Record line = fakeusb::Recorded();
    if (analyser_.setBaudRate(handle_, uint32_t(line.baud)) != FT_OK ||
        analyser_.setDataCharacteristics(handle_, uint8_t(line.dataBits), uint8_t(line.stopBits),
                                         uint8_t(line.parity)) != FT_OK) {
        ++misheard_;
        return;
    }
    uint32_t written = 0;
    analyser_.write(handle_, bytes.constData(), uint32_t(bytes.size()), written);
}

void AnalyserBehindChip::speak()
{
    char chunk[4096];
    uint32_t got = 0;
    while (handle_ && analyser_.read(handle_, chunk, sizeof chunk, got) == FT_OK && got > 0)
        fakeusb::Receive(std::string(chunk, got));
}

} // namespace pxr3::test
