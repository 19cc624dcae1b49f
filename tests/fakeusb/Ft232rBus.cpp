#include "Ft232rBus.h"

#include <algorithm>

namespace fakeusb {

namespace {

constexpr int kPacketSize = 64; // full-speed bulk packets
constexpr int kStatusBytes = 2;
// Modem status: bit 0 always set, CTS and DSR as the analyser drives them. Line status: the
// transmitter empty, no receive errors.
constexpr unsigned char kModemStatus = 0x31;
constexpr unsigned char kLineStatus = 0x60;

// The FT232R's requests (vendor type, device recipient).
enum Request : uint8_t {
    kReset = 0x00,
    kModemCtrl = 0x01,
    kFlowCtrl = 0x02,
    kBaudRate = 0x03,
    kData = 0x04,
    kPollModemStatus = 0x05,
    kEventChar = 0x06,
    kErrorChar = 0x07,
    kSetLatency = 0x09,
    kGetLatency = 0x0A,
};

// The baud rate the divisor gives on the chip's 3 MHz base: 14 bits of whole divisor, then a
// three-bit code for eighths, the last bit of which travels in the index.
int BaudOf(uint16_t value, uint16_t index)
{
    static constexpr int kEighths[8] = {0, 4, 2, 1, 3, 5, 6, 7};
    const int whole = value & 0x3FFF;
    const int code = (value >> 14) | ((index & 1) << 2);
    if (whole == 0 && code == 0)
        return 3'000'000;
    if (whole == 1 && code == 0)
        return 2'000'000;
    const int eighths = whole * 8 + kEighths[code];
    return (24'000'000 + eighths / 2) / eighths;
}

int Char(uint16_t value) { return value & 0x100 ? value & 0xFF : -1; }

} // namespace

Bus &Bus::instance()
{
    static Bus bus;
    return bus;
}

void Bus::plugIn(const Identity &identity)
{
    unplug();
    auto chip = std::make_shared<Chip>();
    chip->identity = identity;
    chip->address = nextAddress_++; // a new address at every enumeration, as the host assigns them
    chip->lastPacket = Clock::now();
    plugged_ = last_ = chip;
}

void Bus::unplug()
{
    if (!plugged_)
        return;
    plugged_->present = false;
    plugged_->toHost.clear();
    plugged_.reset();
    changed_.notify_all();
}

void Bus::receive(const std::string &bytes)
{
    if (!plugged_)
        return; // nobody is listening at the other end of the cable
    plugged_->toHost += bytes;
    changed_.notify_all();
}

int Bus::control(Chip &chip, uint8_t requestType, uint8_t request, uint16_t value, uint16_t index, unsigned char *data,
                 uint16_t length)
{
    if (!chip.present) {
        ++chip.record.refusedAfterUnplug;
        return LIBUSB_ERROR_NO_DEVICE;
    }
    if ((requestType & 0x60) != LIBUSB_REQUEST_TYPE_VENDOR)
        return LIBUSB_ERROR_PIPE; // standard requests come through the descriptor calls
    Record &r = chip.record;
    ++r.controlRequests;
    const bool in = requestType & LIBUSB_ENDPOINT_IN;
    switch (request) {
    case kReset:
        if (value == 0 || value == 2) {
            chip.toHost.clear();
            ++r.rxPurges;
        }
        if (value == 0 || value == 1)
            ++r.txPurges; // what the host sent goes on the line at once here: nothing waits
        if (value == 0)
            ++r.resets;
        return 0;
    case kModemCtrl:
        if (value & 0x100)
            r.dtr = value & 1;
        if (value & 0x200)
            r.rts = value & 2;
        return 0;
    case kFlowCtrl: r.flowControl = index & 0xFF00; return 0;
    case kBaudRate: r.baud = BaudOf(value, index); return 0;
    case kData:
        r.dataBits = value & 0xFF;
        r.parity = (value >> 8) & 0x7;
        r.stopBits = (value >> 11) & 0x3;
        r.breakOn = value & 0x4000;
        return 0;
    case kPollModemStatus:
        if (!in || length < 2)
            return LIBUSB_ERROR_PIPE;
        data[0] = kModemStatus;
        data[1] = kLineStatus;
        return 2;
    case kEventChar:
        r.eventChar = Char(value);
        changed_.notify_all();
        return 0;
    case kErrorChar: r.errorChar = Char(value); return 0;
    case kSetLatency:
        if ((value & 0xFF) == 0)
            return LIBUSB_ERROR_PIPE;
        r.latencyMs = value & 0xFF;
        changed_.notify_all();
        return 0;
    case kGetLatency:
        if (!in || length < 1)
            return LIBUSB_ERROR_PIPE;
        data[0] = uint8_t(r.latencyMs);
        return 1;
    default: return LIBUSB_ERROR_PIPE; // not emulated (bit-bang modes, the EEPROM): the chip stalls
    }
}

int Bus::bulkIn(std::unique_lock<std::mutex> &held, Chip &chip, unsigned char *data, int length, int *actual,
                unsigned int timeoutMs)
{
    *actual = 0;
    const Clock::time_point deadline =
        timeoutMs ? Clock::now() + std::chrono::milliseconds(timeoutMs) : Clock::time_point::max();
    for (;;) {
        if (!chip.present) {
            ++chip.record.refusedAfterUnplug;
            return LIBUSB_ERROR_NO_DEVICE;
        }
        const int room = length - *actual;
        if (room < kStatusBytes)
            return LIBUSB_SUCCESS;
        const Clock::time_point now = Clock::now();
        const Clock::time_point flushAt = chip.lastPacket + std::chrono::milliseconds(chip.record.latencyMs);
        const int payload =
            int(std::min<std::size_t>(chip.toHost.size(), std::size_t(std::min(room, kPacketSize) - kStatusBytes)));
        const bool full = kStatusBytes + payload == kPacketSize;
        const bool eventChar =
            chip.record.eventChar >= 0 && chip.toHost.find(char(chip.record.eventChar), 0) < std::size_t(payload);
        // The chip sends a full packet at once, and what it has (perhaps nothing) when its
        // latency timer runs out or the event character came in.
        if (full || eventChar || now >= flushAt) {
            unsigned char *packet = data + *actual;
            packet[0] = kModemStatus;
            packet[1] = kLineStatus;
            std::copy_n(chip.toHost.data(), payload, packet + kStatusBytes);
            chip.toHost.erase(0, std::size_t(payload));
            *actual += kStatusBytes + payload;
            chip.lastPacket = now;
            ++(payload ? chip.record.dataPackets : chip.record.statusOnlyPackets);
            chip.record.bytesToHost += payload;
            if (!full)
                return LIBUSB_SUCCESS; // a short packet ends the transfer
            continue;
        }
        if (now >= deadline)
            return LIBUSB_ERROR_TIMEOUT;
        changed_.wait_until(held, std::min(flushAt, deadline));
    }
}

void PlugIn(const Identity &identity)
{
    auto held = Bus::instance().lock();
    Bus::instance().plugIn(identity);
}

void Unplug()
{
    auto held = Bus::instance().lock();
    Bus::instance().unplug();
}

bool PluggedIn()
{
    auto held = Bus::instance().lock();
    return Bus::instance().plugged() != nullptr;
}

void SetTransmitHandler(std::function<void(const std::string &)> handler)
{
    auto held = Bus::instance().lock();
    Bus::instance().transmit = std::move(handler);
}

void Receive(const std::string &bytes)
{
    auto held = Bus::instance().lock();
    Bus::instance().receive(bytes);
}

Record Recorded()
{
    auto held = Bus::instance().lock();
    const auto chip = Bus::instance().last();
    return chip ? chip->record : Record{};
}

int LiveContexts()
{
    auto held = Bus::instance().lock();
    return Bus::instance().contexts;
}

} // namespace fakeusb
