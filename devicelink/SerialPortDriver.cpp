#include "devicelink/SerialPortDriver.h"

#include "core/CommLog.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace pxr3 {

SerialPortDriver::SerialPortDriver(std::string path) : path_(std::move(path)) {}

SerialPortDriver::~SerialPortDriver()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string SerialPortDriver::description() const { return IdentityText("Serial port " + path_); }

std::string SerialPortDriver::serial() const
{
    const auto slash = path_.find_last_of('/');
    return IdentityText(slash == std::string::npos ? path_ : path_.substr(slash + 1));
}

FtStatus SerialPortDriver::systemFailure(const char *what) const
{
    commLog().append(QStringLiteral("Sériový port %1: %2 (%3)")
                         .arg(QString::fromStdString(path_), QString::fromUtf8(what),
                              QString::fromLocal8Bit(std::strerror(errno))));
    return FT_OTHER_ERROR;
}

FtStatus SerialPortDriver::countDevices(uint32_t &count)
{
    count = 1;
    return FT_OK;
}

FtStatus SerialPortDriver::descriptionByIndex(uint32_t index, std::string &text)
{
    if (index != 0)
        return FT_DEVICE_NOT_FOUND;
    text = description();
    return FT_OK;
}

FtStatus SerialPortDriver::serialByIndex(uint32_t index, std::string &text)
{
    if (index != 0)
        return FT_DEVICE_NOT_FOUND;
    text = serial();
    return FT_OK;
}

FtStatus SerialPortDriver::openBySerial(const std::string &wanted, FtHandle &handle)
{
    if (wanted != serial())
        return FT_DEVICE_NOT_FOUND;
    if (fd_ >= 0)
        ::close(fd_);
    // Non-blocking so that a port waiting for a carrier does not hang the open.
    fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        systemFailure("nelze otevřít");
        return FT_DEVICE_NOT_OPENED;
    }
    termios tty{};
    if (::tcgetattr(fd_, &tty) != 0) {
        systemFailure("není sériový port");
        ::close(fd_);
        fd_ = -1;
        return FT_DEVICE_NOT_OPENED;
    }
    ::cfmakeraw(&tty);
    tty.c_cflag |= CLOCAL | CREAD;
    tty.c_cflag &= ~CRTSCTS;
    tty.c_cc[VMIN] = 0;
    tty.c_cc[VTIME] = 0;
    if (::tcsetattr(fd_, TCSANOW, &tty) != 0) {
        systemFailure("nelze nastavit");
        ::close(fd_);
        fd_ = -1;
        return FT_DEVICE_NOT_OPENED;
    }
    ::tcflush(fd_, TCIOFLUSH);
    handle = kHandle;
    return FT_OK;
}

FtStatus SerialPortDriver::setBaudRate(FtHandle handle, uint32_t baud)
{
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    speed_t speed;
    switch (baud) {
    case 9600: speed = B9600; break;
    case 19200: speed = B19200; break;
    case 38400: speed = B38400; break;
    case 57600: speed = B57600; break;
    case 115200: speed = B115200; break;
    default: return FT_INVALID_BAUD_RATE;
    }
    termios tty{};
    if (::tcgetattr(fd_, &tty) != 0 || ::cfsetispeed(&tty, speed) != 0 || ::cfsetospeed(&tty, speed) != 0 ||
        ::tcsetattr(fd_, TCSANOW, &tty) != 0)
        return systemFailure("rychlost nelze nastavit");
    return FT_OK;
}

FtStatus SerialPortDriver::setDataCharacteristics(FtHandle handle, uint8_t wordLength, uint8_t stopBits,
                                                  uint8_t parity)
{
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    // Mark and space parity have no portable termios form.
    if ((wordLength != 7 && wordLength != 8) || (stopBits != 0 && stopBits != 2) || parity > 2)
        return FT_INVALID_PARAMETER;
    termios tty{};
    if (::tcgetattr(fd_, &tty) != 0)
        return systemFailure("nastavení nelze přečíst");
    tty.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD);
    tty.c_cflag |= wordLength == 8 ? CS8 : CS7;
    if (stopBits == 2)
        tty.c_cflag |= CSTOPB;
    if (parity != 0)
        tty.c_cflag |= PARENB | (parity == 1 ? PARODD : 0);
    if (::tcsetattr(fd_, TCSANOW, &tty) != 0)
        return systemFailure("formát dat nelze nastavit");
    return FT_OK;
}

FtStatus SerialPortDriver::setTimeouts(FtHandle handle, uint32_t readMs, uint32_t)
{
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    readTimeoutMs_ = readMs;
    return FT_OK;
}

// A tty has no event character; the analyser's link does not depend on it.
FtStatus SerialPortDriver::setChars(FtHandle handle, uint8_t, uint8_t, uint8_t, uint8_t)
{
    return opened(handle) ? FT_OK : FT_INVALID_HANDLE;
}

FtStatus SerialPortDriver::write(FtHandle handle, const char *data, uint32_t length, uint32_t &written)
{
    written = 0;
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    while (written < length) {
        const ssize_t n = ::write(fd_, data + written, length - written);
        if (n > 0) {
            written += uint32_t(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{fd_, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0)
                return systemFailure("zápis se nedaří");
        } else if (!(n < 0 && errno == EINTR)) {
            return systemFailure("zápis selhal");
        }
    }
    return FT_OK;
}

FtStatus SerialPortDriver::read(FtHandle handle, char *buffer, uint32_t wanted, uint32_t &returned,
                                uint32_t timeoutMs)
{
    returned = 0;
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    if (timeoutMs == kConfiguredTimeout)
        timeoutMs = readTimeoutMs_;
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    while (returned < wanted) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(std::max<long long>(left, 0)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return systemFailure("čtení selhalo");
        if (ready == 0)
            break; // the timeout passed
        const ssize_t n = ::read(fd_, buffer + returned, wanted - returned);
        if (n > 0)
            returned += uint32_t(n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            return systemFailure("port byl odpojen");
    }
    return FT_OK;
}

FtStatus SerialPortDriver::close(FtHandle handle)
{
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? FT_OK : FT_OTHER_ERROR;
}

} // namespace pxr3
