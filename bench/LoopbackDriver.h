#pragma once
// A driver that hands the link bytes the benchmark has prepared, announced as a bridge
// announces what it received, so they go through the real receive path and nothing else.

#include "devicelink/Driver.h"

#include <QByteArray>

namespace pxr3::bench {

class LoopbackDriver : public Driver {
public:
    static constexpr FtHandle kHandle = 1;

    // Puts the bytes on the line and announces them: the link drains them at once.
    void deliver(const QByteArray &bytes);

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
    QByteArray line_;
    int taken_ = 0;
};

} // namespace pxr3::bench
