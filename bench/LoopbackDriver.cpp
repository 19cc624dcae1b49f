#include "bench/LoopbackDriver.h"

#include <algorithm>
#include <cstring>

namespace pxr3::bench {

void LoopbackDriver::deliver(const QByteArray &bytes)
{
    line_.remove(0, taken_);
    taken_ = 0;
    line_ += bytes;
    announceArrival();
}

FtStatus LoopbackDriver::countDevices(uint32_t &count)
{
    count = 1;
    return FT_OK;
}

FtStatus LoopbackDriver::descriptionByIndex(uint32_t, std::string &description)
{
    description = "loop-back";
    return FT_OK;
}

FtStatus LoopbackDriver::serialByIndex(uint32_t, std::string &serial)
{
    serial = "LOOP1";
    return FT_OK;
}

FtStatus LoopbackDriver::openBySerial(const std::string &, FtHandle &handle)
{
    handle = kHandle;
    return FT_OK;
}

FtStatus LoopbackDriver::setBaudRate(FtHandle, uint32_t) { return FT_OK; }
FtStatus LoopbackDriver::setDataCharacteristics(FtHandle, uint8_t, uint8_t, uint8_t) { return FT_OK; }
FtStatus LoopbackDriver::setTimeouts(FtHandle, uint32_t, uint32_t) { return FT_OK; }
FtStatus LoopbackDriver::setChars(FtHandle, uint8_t, uint8_t, uint8_t, uint8_t) { return FT_OK; }

// Commands go nowhere: the benchmarks only receive.
FtStatus LoopbackDriver::write(FtHandle, const char *, uint32_t length, uint32_t &written)
{
    written = length;
    return FT_OK;
}

FtStatus LoopbackDriver::read(FtHandle, char *buffer, uint32_t wanted, uint32_t &returned)
{
    returned = uint32_t(std::min<qsizetype>(wanted, line_.size() - taken_));
    std::memcpy(buffer, line_.constData() + taken_, returned);
    taken_ += int(returned);
    return FT_OK;
}

FtStatus LoopbackDriver::close(FtHandle) { return FT_OK; }

} // namespace pxr3::bench
