#include "devicelink/SerialPortDriver.h"

#include "core/CommLog.h"

#include <QFileInfo>
#include <QSerialPort>

namespace pxr3 {

SerialPortDriver::SerialPortDriver(std::string path) : path_(std::move(path)) { }

SerialPortDriver::~SerialPortDriver() = default;

std::string SerialPortDriver::description() const { return IdentityText("Serial port " + path_); }

std::string SerialPortDriver::serial() const
{
    const auto slash = path_.find_last_of('/');
    return IdentityText(slash == std::string::npos ? path_ : path_.substr(slash + 1));
}

bool SerialPortDriver::opened(FtHandle handle) const
{
    return handle == kHandle && port_ && (port_->isOpen() || gone_);
}

FtStatus SerialPortDriver::portFailure(const char *what) const
{
    commLog().append(
        QStringLiteral("Sériový port %1: %2 (%3)")
            .arg(QString::fromStdString(path_), QString::fromUtf8(what), port_ ? port_->errorString() : QString()));
    return FT_OTHER_ERROR;
}

// A port whose device file is gone (the bridge unplugged) is not there to be listed.
FtStatus SerialPortDriver::countDevices(uint32_t &count)
{
    count = QFileInfo::exists(QString::fromStdString(path_)) ? 1 : 0;
    if (count == 0)
        commLog().append(QStringLiteral("Sériový port %1 neexistuje").arg(QString::fromStdString(path_)));
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
    port_ = std::make_unique<QSerialPort>(QString::fromStdString(path_));
    // Raw 8N1 without flow control until the link sets its own values.
    port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!port_->open(QIODevice::ReadWrite)) {
        portFailure("nelze otevřít");
        port_.reset();
        return FT_DEVICE_NOT_OPENED;
    }
    port_->clear();
    gone_ = false;
    QObject::connect(port_.get(), &QSerialPort::readyRead, [this] { announceArrival(); });
    // A port that goes away (the bridge unplugged, the other end of a pseudo-terminal closed)
    // would report its error without end: it is let go once and the link told.
    QObject::connect(port_.get(), &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
        if (gone_ || (error != QSerialPort::ResourceError && error != QSerialPort::ReadError))
            return;
        gone_ = true;
        reason_ = port_->errorString();
        QMetaObject::invokeMethod(
            port_.get(), [port = port_.get()] { port->close(); }, Qt::QueuedConnection);
        announceArrival();
    });
    handle = kHandle;
    return FT_OK;
}

FtStatus SerialPortDriver::setBaudRate(FtHandle handle, uint32_t baud)
{
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    switch (baud) {
    case 9600:
    case 19200:
    case 38400:
    case 57600:
    case 115200: break;
    default: return FT_INVALID_BAUD_RATE;
    }
    return port_->setBaudRate(qint32(baud)) ? FT_OK : portFailure("rychlost nelze nastavit");
}

FtStatus SerialPortDriver::setDataCharacteristics(FtHandle handle, uint8_t wordLength, uint8_t stopBits, uint8_t parity)
{
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    if ((wordLength != 7 && wordLength != 8) || (stopBits != 0 && stopBits != 2) || parity > 4)
        return FT_INVALID_PARAMETER;
    const QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity, QSerialPort::EvenParity,
                                            QSerialPort::MarkParity, QSerialPort::SpaceParity};
    const bool set = port_->setDataBits(wordLength == 8 ? QSerialPort::Data8 : QSerialPort::Data7) &&
        port_->setStopBits(stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
        port_->setParity(parities[parity]);
    return set ? FT_OK : portFailure("formát dat nelze nastavit");
}

// The link measures its silences itself; the port never waits.
FtStatus SerialPortDriver::setTimeouts(FtHandle handle, uint32_t, uint32_t)
{
    return opened(handle) ? FT_OK : FT_INVALID_HANDLE;
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
    if (gone_)
        return FT_DEVICE_NOT_FOUND;
    const qint64 n = port_->write(data, length);
    if (n != qint64(length))
        return portFailure("zápis selhal");
    port_->flush(); // on the wire now, not at the next return to the event loop
    written = length;
    return FT_OK;
}

FtStatus SerialPortDriver::read(FtHandle handle, char *buffer, uint32_t wanted, uint32_t &returned)
{
    returned = 0;
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    if (gone_) {
        commLog().append(
            QStringLiteral("Sériový port %1: port byl odpojen (%2)").arg(QString::fromStdString(path_), reason_));
        return FT_DEVICE_NOT_FOUND;
    }
    const qint64 n = port_->read(buffer, wanted);
    if (n < 0)
        return portFailure("čtení selhalo");
    returned = uint32_t(n);
    return FT_OK;
}

FtStatus SerialPortDriver::close(FtHandle handle)
{
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    port_->close();
    port_.release()->deleteLater(); // it may be this port's own signal that led here
    return FT_OK;
}

} // namespace pxr3
