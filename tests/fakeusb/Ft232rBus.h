#pragma once
// The emulated bus behind the libusb entry points: its devices, their handles and the chip's
// behaviour. One mutex guards it all; a bulk read that waits for the chip waits on `changed`.

#include "FakeFt232r.h"

#include <libusb.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

namespace fakeusb {

using Clock = std::chrono::steady_clock;

// One plugging-in of the FT232R: its settings, its buffer towards the host, its record.
struct Chip {
    Identity identity;
    uint8_t address = 0;
    bool present = true;
    Record record;
    std::string toHost;           // received on the serial line, not yet sent over USB
    Clock::time_point lastPacket; // the latency timer runs from the last packet sent
};

class Bus {
public:
    static Bus &instance();

    std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(mutex_); }

    // All below with the lock held.
    std::shared_ptr<Chip> plugged() const { return plugged_; }
    std::shared_ptr<Chip> last() const { return last_; }
    void plugIn(const Identity &identity);
    void unplug();
    void receive(const std::string &bytes);

    int control(Chip &chip, uint8_t requestType, uint8_t request, uint16_t value, uint16_t index, unsigned char *data,
                uint16_t length);
    // Fills `data` with packets as the chip sends them: each begins with the two modem-status
    // bytes; a packet short of the full size ends the transfer.
    int bulkIn(std::unique_lock<std::mutex> &held, Chip &chip, unsigned char *data, int length, int *actual,
               unsigned int timeoutMs);

    std::function<void(const std::string &)> transmit;
    int contexts = 0;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::shared_ptr<Chip> plugged_;
    std::shared_ptr<Chip> last_;
    uint8_t nextAddress_ = 2;
};

} // namespace fakeusb

// libusb's opaque types, as this bus has them.
struct libusb_context { };

struct libusb_device {
    int references = 1;
    std::shared_ptr<fakeusb::Chip> chip;
};

struct libusb_device_handle {
    libusb_device *device = nullptr;
    bool claimed = false;
    bool autoDetach = false;
    bool detachedDriver = false; // by this handle's claim, so that its release binds the driver again
};
