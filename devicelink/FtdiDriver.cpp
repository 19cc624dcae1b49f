#include "devicelink/FtdiDriver.h"

#include "core/CommLog.h"

#include <QObject>
#include <algorithm>
#include <ftdi.h>
#include <vector>

namespace pxr3 {

namespace {

constexpr unsigned char kLatencyMs = 16; // the bridge's own default, set so that it is known
constexpr uint32_t kPacketPayload = 62;  // a full-speed packet less its two status bytes
constexpr int kUsbTimeout = -7;          // libusb's code for a transfer that timed out

// A libftdi failure as a status, its reason logged.
FtStatus Failed(int result, const char *reason)
{
    commLog().append(QStringLiteral("libftdi: ") + QString::fromLocal8Bit(reason));
    return result == -666 ? FT_DEVICE_NOT_FOUND : FT_OTHER_ERROR;
}

// Closes a reader's context without closing the USB handle it borrowed.
void FreeBorrowingContext(ftdi_context *context)
{
    ftdi_set_usbdev(context, nullptr);
    ftdi_free(context);
}

} // namespace

FtdiDriver::FtdiDriver() : announcer_(std::make_unique<QObject>()) { }

FtdiDriver::~FtdiDriver()
{
    if (device_)
        close(kHandle);
}

ftdi_context *FtdiDriver::opened(FtHandle handle) const { return handle == kHandle ? device_ : nullptr; }

FtStatus FtdiDriver::failure(int result) const
{
    return result >= 0 ? FT_OK : Failed(result, ftdi_get_error_string(device_));
}

FtStatus FtdiDriver::countDevices(uint32_t &count)
{
    listed_.clear();
    ftdi_context *context = ftdi_new();
    if (!context) // libusb could not start (no USB on this machine, or no permission)
        return FT_OTHER_ERROR;
    FtStatus status = FT_OK;
    for (uint16_t product : kProducts) {
        ftdi_device_list *list = nullptr;
        const int found = ftdi_usb_find_all(context, &list, kVendor, product);
        if (found < 0) {
            status = FT_OTHER_ERROR;
            break;
        }
        for (ftdi_device_list *d = list; d; d = d->next) {
            char description[32] = {};
            char serial[32] = {};
            // A device whose strings cannot be read (busy, or no permission) is still listed;
            // asking for its strings then fails with the reason in the log.
            const bool read = ftdi_usb_get_strings(context, d->dev, nullptr, 0, description, sizeof description, serial,
                                                   sizeof serial) == 0;
            listed_.push_back({IdentityText(description), IdentityText(serial), product,
                               read ? std::string() : std::string(ftdi_get_error_string(context))});
        }
        ftdi_list_free(&list);
    }
    ftdi_free(context);
    count = uint32_t(listed_.size());
    return status;
}

FtStatus FtdiDriver::descriptionByIndex(uint32_t index, std::string &description)
{
    if (index >= listed_.size())
        return FT_DEVICE_NOT_FOUND;
    if (!listed_[index].stringsError.empty()) {
        commLog().append(QStringLiteral("libftdi: ") + QString::fromStdString(listed_[index].stringsError));
        return FT_OTHER_ERROR;
    }
    description = listed_[index].description;
    return FT_OK;
}

FtStatus FtdiDriver::serialByIndex(uint32_t index, std::string &serial)
{
    if (index >= listed_.size() || !listed_[index].stringsError.empty())
        return index >= listed_.size() ? FT_DEVICE_NOT_FOUND : FT_OTHER_ERROR;
    serial = listed_[index].serial;
    return FT_OK;
}

FtStatus FtdiDriver::openBySerial(const std::string &serial, FtHandle &handle)
{
    if (device_)
        close(kHandle);
    device_ = ftdi_new();
    if (!device_)
        return FT_OTHER_ERROR;
    // ftdi_sio lets go of the device while it is open here and takes it back at the close,
    // so that the serial port is there again for other programs.
    device_->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
    // The product listed with this serial number first, then the others.
    std::vector<uint16_t> products;
    for (const Listed &l : listed_)
        if (l.serial == serial)
            products.push_back(l.product);
    products.insert(products.end(), std::begin(kProducts), std::end(kProducts));
    constexpr int kNotFound = -3;
    int result = kNotFound;
    QString reason;
    bool specific = false; // the first failure other than "not found" says why (no permission, say)
    for (uint16_t product : products) {
        result = ftdi_usb_open_desc(device_, kVendor, product, nullptr, serial.c_str());
        if (result == 0)
            break;
        if (!specific) {
            reason = QString::fromLocal8Bit(ftdi_get_error_string(device_));
            specific = result != kNotFound;
        }
    }
    if (result != 0) {
        commLog().append(QStringLiteral("libftdi: ") + reason);
        ftdi_free(device_);
        device_ = nullptr;
        return FT_DEVICE_NOT_OPENED;
    }
    ftdi_set_latency_timer(device_, kLatencyMs);
    ftdi_tcioflush(device_);
    if (!startReader()) {
        ftdi_usb_close(device_);
        ftdi_free(device_);
        device_ = nullptr;
        return FT_OTHER_ERROR;
    }
    handle = kHandle;
    return FT_OK;
}

bool FtdiDriver::startReader()
{
    // The reader has a libftdi context of its own over the same USB handle: libftdi keeps its
    // read buffer and its last error in the context, so the threads then share none of it.
    ftdi_context *reader = ftdi_new();
    if (!reader)
        return false;
    ftdi_set_usbdev(reader, device_->usb_dev);
    reader->type = device_->type;
    reader->max_packet_size = device_->max_packet_size;
    // The bridge answers every latency period, with data or without, so one USB transfer
    // never waits longer than that; the transfer timeout is only a safety margin above it.
    reader->usb_read_timeout = 100;
    received_.clear();
    readResult_ = 0;
    readError_.clear();
    announced_ = false;
    stopReading_ = false;
    // The bridge's 256-byte buffer lasts 130 ms at 19200 baud: it is drained here all the
    // time, whatever the windows are doing, and the bytes wait in ours.
    reader_ = std::thread([this, reader] {
        unsigned char packet[kPacketPayload];
        bool failed = false;
        while (!stopReading_ && !failed) {
            // Returns after one latency period at the latest: the bridge reports even when idle.
            const int result = ftdi_read_data(reader, packet, int(sizeof packet));
            if (result == 0 || result == kUsbTimeout)
                continue;
            failed = result < 0;
            std::lock_guard<std::mutex> lock(mutex_);
            if (failed) {
                readResult_ = result;
                readError_ = ftdi_get_error_string(reader);
            } else {
                received_.append(reinterpret_cast<const char *>(packet), result);
            }
            if (!announced_) {
                announced_ = true;
                QMetaObject::invokeMethod(
                    announcer_.get(),
                    [this] {
                        {
                            std::lock_guard<std::mutex> again(mutex_);
                            announced_ = false;
                        }
                        announceArrival();
                    },
                    Qt::QueuedConnection);
            }
        }
        FreeBorrowingContext(reader);
    });
    return true;
}

void FtdiDriver::stopReader()
{
    stopReading_ = true;
    if (reader_.joinable())
        reader_.join();
}

FtStatus FtdiDriver::setBaudRate(FtHandle handle, uint32_t baud)
{
    ftdi_context *d = opened(handle);
    return d ? failure(ftdi_set_baudrate(d, int(baud))) : FT_INVALID_HANDLE;
}

FtStatus FtdiDriver::setDataCharacteristics(FtHandle handle, uint8_t wordLength, uint8_t stopBits, uint8_t parity)
{
    ftdi_context *d = opened(handle);
    if (!d)
        return FT_INVALID_HANDLE;
    if ((wordLength != 7 && wordLength != 8) || (stopBits != 0 && stopBits != 2) || parity > 4)
        return FT_INVALID_PARAMETER;
    return failure(ftdi_set_line_property(d, wordLength == 8 ? BITS_8 : BITS_7, stopBits == 0 ? STOP_BIT_1 : STOP_BIT_2,
                                          ftdi_parity_type(parity)));
}

// The link measures its silences itself; reads never wait.
FtStatus FtdiDriver::setTimeouts(FtHandle handle, uint32_t, uint32_t)
{
    return opened(handle) ? FT_OK : FT_INVALID_HANDLE;
}

FtStatus FtdiDriver::setChars(FtHandle handle, uint8_t eventChar, uint8_t eventEnabled, uint8_t errorChar,
                              uint8_t errorEnabled)
{
    ftdi_context *d = opened(handle);
    if (!d)
        return FT_INVALID_HANDLE;
    const FtStatus status = failure(ftdi_set_event_char(d, eventChar, eventEnabled));
    return status != FT_OK ? status : failure(ftdi_set_error_char(d, errorChar, errorEnabled));
}

FtStatus FtdiDriver::write(FtHandle handle, const char *data, uint32_t length, uint32_t &written)
{
    written = 0;
    ftdi_context *d = opened(handle);
    if (!d)
        return FT_INVALID_HANDLE;
    const int result = ftdi_write_data(d, reinterpret_cast<const unsigned char *>(data), int(length));
    if (result < 0)
        return failure(result);
    written = uint32_t(result);
    return written == length ? FT_OK : FT_IO_ERROR;
}

FtStatus FtdiDriver::read(FtHandle handle, char *buffer, uint32_t wanted, uint32_t &returned)
{
    returned = 0;
    if (!opened(handle))
        return FT_INVALID_HANDLE;
    int failedWith = 0;
    std::string reason;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        returned = std::min<uint32_t>(wanted, uint32_t(received_.size()));
        std::copy_n(received_.constData(), returned, buffer);
        received_.remove(0, int(returned));
        // The bytes that came before a failure are handed out first.
        if (returned == 0 && readResult_ < 0) {
            failedWith = readResult_;
            reason = readError_;
        }
    }
    return failedWith < 0 ? Failed(failedWith, reason.c_str()) : FT_OK;
}

FtStatus FtdiDriver::close(FtHandle handle)
{
    ftdi_context *d = opened(handle);
    if (!d)
        return FT_INVALID_HANDLE;
    stopReader();
    const int result = ftdi_usb_close(d);
    ftdi_free(d);
    device_ = nullptr;
    return result == 0 ? FT_OK : FT_OTHER_ERROR;
}

} // namespace pxr3
