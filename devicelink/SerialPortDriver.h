#pragma once
// An analyser whose bridge the kernel's ftdi_sio driver holds, reached through its tty
// (/dev/ttyUSB0), or any other serial port or pseudo-terminal, given by --port. Qt's serial
// port receives in the background and takes the port exclusively.

#include "devicelink/Driver.h"

#include <QString>
#include <memory>

class QSerialPort;

namespace pxr3 {

class SerialPortDriver : public Driver {
public:
    explicit SerialPortDriver(std::string path);
    ~SerialPortDriver() override;
    SerialPortDriver(const SerialPortDriver &) = delete;
    SerialPortDriver &operator=(const SerialPortDriver &) = delete;

    // The one device listed: "Serial port /dev/ttyUSB0" with the file name as serial number.
    std::string description() const;
    std::string serial() const;

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
    static constexpr FtHandle kHandle = 1;
    bool opened(FtHandle handle) const;
    FtStatus portFailure(const char *what) const; // logs the port's reason

    std::string path_;
    std::unique_ptr<QSerialPort> port_;
    bool gone_ = false; // the port went away while open
    QString reason_;
};

} // namespace pxr3
