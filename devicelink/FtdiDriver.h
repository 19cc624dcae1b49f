#pragma once
// The analyser's FTDI bridge over USB through libftdi1, without the kernel's serial driver
// (libftdi detaches ftdi_sio from the device it opens).

#include "devicelink/Driver.h"

#include <QByteArray>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QObject;
struct ftdi_context;

namespace pxr3 {

class FtdiDriver : public Driver {
public:
    // Vendor 0x0403 with the bridges an analyser may carry: FT232R, FT2232, FT232H, FT-X.
    static constexpr uint16_t kVendor = 0x0403;
    static constexpr uint16_t kProducts[] = {0x6001, 0x6010, 0x6014, 0x6015};

    FtdiDriver();
    ~FtdiDriver() override;
    FtdiDriver(const FtdiDriver &) = delete;
    FtdiDriver &operator=(const FtdiDriver &) = delete;

    FtStatus countDevices(uint32_t &count) override;
    FtStatus descriptionByIndex(uint32_t index, std::string &description) override;
    FtStatus serialByIndex(uint32_t index, std::string &serial) override;
    FtStatus openBySerial(const std::string &serial, FtHandle &handle) override;
    FtStatus setBaudRate(FtHandle handle, uint32_t baud) override;
    FtStatus setDataCharacteristics(FtHandle handle, uint8_t wordLength, uint8_t stopBits, uint8_t parity) override;
    FtStatus setTimeouts(FtHandle handle, uint32_t readMs, uint32_t writeMs) override;
    FtStatus setChars(FtHandle handle, uint8_t eventChar, uint8_t eventEnabled, uint8_t errorChar,
                      uint8_t errorEnabled) override;
    FtStatus write(FtHandle handle, const char *data, uint32_t length, uint32_t &written) override;
    FtStatus read(FtHandle handle, char *buffer, uint32_t wanted, uint32_t &returned) override;
    FtStatus close(FtHandle handle) override;

private:
    struct Listed {
        std::string description;
        std::string serial;
        uint16_t product;
        std::string stringsError; // why the USB strings could not be read; empty when they were
    };
    static constexpr FtHandle kHandle = 1; // one device open at a time

    ftdi_context *opened(FtHandle handle) const;
    FtStatus failure(int result) const; // a libftdi result as a status, the reason logged

    // A thread receives all the time the device is open; the user-interface thread is told
    // through a queued call on `announcer_`, which lives there.
    bool startReader(); // false when it could not be set up
    void stopReader();

    std::vector<Listed> listed_;
    ftdi_context *device_ = nullptr;
    std::unique_ptr<QObject> announcer_;
    std::thread reader_;
    std::atomic<bool> stopReading_{false};
    std::mutex mutex_;
    QByteArray received_;   // guarded by mutex_
    int readResult_ = 0;    // a libftdi failure of the reader, guarded by mutex_
    std::string readError_; // and its reason, guarded by mutex_
    bool announced_ = false;
};

} // namespace pxr3
