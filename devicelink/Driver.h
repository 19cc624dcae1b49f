#pragma once
// The nine operations the program needs from the analyser's USB-to-serial bridge, in the
// shape of the vendor's D2XX library: every call returns a status, 0 meaning success.
// Backends: FtdiDriver (libftdi1), SerialPortDriver (a tty), SimulatedAnalyser.

#include <cstdint>
#include <functional>
#include <string>

namespace pxr3 {

using FtStatus = uint32_t;
using FtHandle = uint32_t;

// Status values as D2XX numbers them, so logged numbers mean the same to a technician.
constexpr FtStatus FT_OK = 0;
constexpr FtStatus FT_INVALID_HANDLE = 1;
constexpr FtStatus FT_DEVICE_NOT_FOUND = 2;
constexpr FtStatus FT_DEVICE_NOT_OPENED = 3;
constexpr FtStatus FT_IO_ERROR = 4;
constexpr FtStatus FT_INVALID_PARAMETER = 6;
constexpr FtStatus FT_INVALID_BAUD_RATE = 7;
constexpr FtStatus FT_OTHER_ERROR = 18;

// A description or serial number fits a 32-byte buffer with its terminating NUL.
constexpr std::size_t kIdentityTextMax = 31;

class Driver {
public:
    virtual ~Driver() = default;

    // Listing: the number of attached devices, then description and serial number by index.
    virtual FtStatus countDevices(uint32_t &count) = 0;
    virtual FtStatus descriptionByIndex(uint32_t index, std::string &description) = 0;
    virtual FtStatus serialByIndex(uint32_t index, std::string &serial) = 0;

    virtual FtStatus openBySerial(const std::string &serial, FtHandle &handle) = 0;
    virtual FtStatus setBaudRate(FtHandle handle, uint32_t baud) = 0;
    // Word length 7 or 8; stop bits 0 = one, 2 = two; parity 0 none, 1 odd, 2 even, 3 mark, 4 space.
    virtual FtStatus setDataCharacteristics(FtHandle handle, uint8_t wordLength, uint8_t stopBits, uint8_t parity) = 0;
    virtual FtStatus setTimeouts(FtHandle handle, uint32_t readMs, uint32_t writeMs) = 0;
    virtual FtStatus setChars(FtHandle handle, uint8_t eventChar, uint8_t eventEnabled, uint8_t errorChar,
                              uint8_t errorEnabled) = 0;
    virtual FtStatus write(FtHandle handle, const char *data, uint32_t length, uint32_t &written) = 0;
    // Takes up to `wanted` of the bytes received so far; never waits. Every backend receives
    // in the background, so nothing the analyser sends is lost while nobody reads.
    virtual FtStatus read(FtHandle handle, char *buffer, uint32_t wanted, uint32_t &returned) = 0;
    virtual FtStatus close(FtHandle handle) = 0;

    // Called on the user-interface thread whenever bytes may have arrived for the open
    // device; the link then reads them. An empty handler stops the calls.
    void setArrivalHandler(std::function<void()> handler) { arrival_ = std::move(handler); }

protected:
    void announceArrival() const
    {
        if (arrival_)
            arrival_();
    }

private:
    std::function<void()> arrival_;
};

// Cuts a text to what a 32-byte D2XX buffer holds.
inline std::string IdentityText(std::string text)
{
    if (text.size() > kIdentityTextMax)
        text.resize(kIdentityTextMax);
    return text;
}

} // namespace pxr3
