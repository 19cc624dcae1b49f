#include "devicelink/USB_KOM.h"

#include "core/CommLog.h"
#include "core/CommLogFile.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkDebug.h"
#include "devicelink/LinkInternal.h"
#include "devicelink/LinkReceiver.h"
#include "devicelink/LinkRecovery.h"
#include "devicelink/MCA_kom.h"

namespace pxr3 {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

FtStatus CloseDevice()
{
    StopReceiving(); // bytes of the closed device must not begin a frame of the next one
    const FtStatus status = driver().close(link().ftHandle);
    commLog().setStatus(status != FT_OK ? QStringLiteral("Close Failed") : QStringLiteral("Device is closed."));
    return status;
}

void CloseAndLog()
{
    commLog().append(CloseDevice() != FT_OK ? QStringLiteral("Close Failed") : QStringLiteral("Device is closed."));
}

// One configuration step: logs its outcome and clears the flag on failure.
void Configure(FtStatus status, const char *failed, const char *done, int &flag)
{
    commLog().append(QString::fromLatin1(status == FT_OK ? done : failed));
    if (status != FT_OK)
        flag = 0;
}

// A description or serial number asked for by index: logged, kept in `into` when it came.
bool Listed(FtStatus status, const std::string &text, const char *failed, const char *label, QString &into)
{
    if (status != FT_OK) {
        commLog().append(QString::fromLatin1(failed));
        return false;
    }
    into = QString::fromLatin1(IdentityText(text));
    commLog().append(QString::fromLatin1(label) + into);
    return true;
}

// Whether the device with this serial number (any device, when empty) is attached; asked
// without a word in the log.
bool Attached(const QString &serial)
{
    uint32_t count = 0;
    if (driver().countDevices(count) != FT_OK)
        return false;
    for (uint32_t index = 0; index < count; ++index) {
        std::string text;
        if (serial.isEmpty() ||
            (driver().serialByIndex(index, text) == FT_OK && QString::fromLatin1(IdentityText(text)) == serial))
            return true;
    }
    return false;
}

// Every listed device in turn, or only the one with the serial number `only` when one is
// given; `announce` tells the windows (a reconnection does not rearrange them).
int OpenAnalyser(const QString &only = QString(), bool announce = true)
{
    LinkState &l = link();
    CommLog &log = commLog();
    StopReceiving();
    uint32_t count = 0;
    if (driver().countDevices(count) != FT_OK) {
        log.append(QStringLiteral("FT_GetNumDevices failed"));
        CloseAndLog();
        return 0;
    }
    l.NumDevices = count;
    log.append(QStringLiteral("NumDevices : ") + IntText(count) + kCrLf + kCrLf);
    int flag = 0;
    for (uint32_t index = 0; index < count; ++index) {
        std::string serial;
        if (!only.isEmpty() &&
            (driver().serialByIndex(index, serial) != FT_OK || QString::fromLatin1(IdentityText(serial)) != only))
            continue;
        flag = 1;
        std::string text;
        if (!Listed(driver().descriptionByIndex(index, text), text, "Device Description failed",
                    "Device Description : ", l.Description))
            flag = 0;
        text.clear();
        if (!Listed(driver().serialByIndex(index, text), text, "To get Serial Number failed",
                    "Serial Number : ", l.SerialNumber))
            flag = 0;
        const bool opened = driver().openBySerial(l.SerialNumber.toLatin1().toStdString(), l.ftHandle) == FT_OK;
        log.append(opened ? QStringLiteral("Device is opened.") : QStringLiteral("Open Failed."));
        if (opened)
            StartReceiving(l.ftHandle);
        else
            flag = 0;

        commLogFile().writeNew(); // each attempt is on record even if the program ends badly

        l.ftStatus = driver().setBaudRate(l.ftHandle, 19200);
        Configure(l.ftStatus, "SetBaudRate Failed", "BaudRate = 19200.", flag);
        Configure(driver().setDataCharacteristics(l.ftHandle, 8, 0, 0), "SetDataCharacteristics Failed",
                  "SetDataCharacteristics = 8 data bits, 1 stop bit, no parity", flag);
        Configure(driver().setTimeouts(l.ftHandle, kReadTimeoutMs, 0), "SetTimeouts Failed",
                  "900 msecond read timeout.", flag);
        Configure(driver().setChars(l.ftHandle, 0x7E, 1, 0, 0), "SetFlowControl Failed", "SetFlowControl Ok.", flag);

        if (flag == 1 && IdentifyAnalyser()) {
            log.append(QStringLiteral("The device is connected ."));
            if (announce && linkHooks().deviceConnected)
                linkHooks().deviceConnected();
            return 1;
        }
        // A device that is not the analyser is let go before the next is tried; the last
        // one stays open, as the result then says it is configured.
        if (opened && index + 1 < count) {
            StopReceiving();
            driver().close(l.ftHandle);
        }
    }
    return flag;
}
} // namespace

LinkState &link()
{
    static LinkState instance;
    return instance;
}

void ResetLinkState()
{
    linkRecovery().end();
    StopReceiving();
    link() = LinkState{};
}

QString BytesText(const QByteArray &bytes) { return QString::fromLatin1(bytes); }
QByteArray TextBytes(const QString &text) { return text.toLatin1(); }

char CSUM(const QByteArray &bytes)
{
    unsigned sum = 0;
    for (char c : bytes)
        sum = (sum + uint8_t(c)) & 0xFF;
    return char(sum);
}

QString CSUM(const QString &s) { return QString(QChar(uint8_t(CSUM(TextBytes(s))))); }

QByteArray MakeFrame(const QByteArray &body)
{
    QByteArray frame;
    frame.reserve(body.size() + 4);
    frame.append(char(0x40)).append(char(body.size() & 0xFF)).append(char((body.size() >> 8) & 0xFF)).append(body);
    frame.append(CSUM(frame.mid(1)));
    return frame;
}

bool WriteFrame(const QByteArray &frame)
{
    LinkState &l = link();
    l.TxBuffer = frame;
    l.BytesWritten = 0;
    DumpLinkBytes("out", "frame", frame);
    const FtStatus status =
        driver().write(l.ftHandle, l.TxBuffer.constData(), uint32_t(l.TxBuffer.size()), l.BytesWritten);
    commLog().setStatus(status != FT_OK ? QStringLiteral("Write to USB port failed.") : QStringLiteral("Write Ok."));
    if (status != FT_OK)
        commLog().append(QStringLiteral("Write to USB port failed. ftStatus = ") + IntText(status));
    return status == FT_OK;
}

bool TakeReceived(const Received &received)
{
    LinkState &l = link();
    l.RxData = received.bytes;
    l.TotalBytes = uint32_t(received.bytes.size());
    l.RxTimeout = received.end == ReceiveEnd::Silence || received.end == ReceiveEnd::Abandoned ? -1 : 0;
    l.RxError = received.end == ReceiveEnd::ReadError ? -1 : 0;
    l.ftStatus = received.status;
    if (l.RxTimeout)
        commLog().setStatus(QStringLiteral("FT_Read timeout ftStatus = ") + IntText(l.ftStatus));
    else if (l.RxError)
        commLog().setStatus(QStringLiteral("FT_Read error ftStatus = ") + IntText(l.ftStatus));
    else
        return true;
    l.CommandOk = 0;
    return false;
}

void USB_Close()
{
    if (RefuseWhenBusy())
        return;
    linkRecovery().end();
    LinkOperation busy;
    CloseDevice();
}

int USB_Open()
{
    if (RefuseWhenBusy())
        return 0;
    linkRecovery().end();
    LinkOperation busy;
    try {
        return OpenAnalyser();
    } catch (...) {
        CloseAndLog();
        return 0;
    }
}

int USB_Reopen(const QString &serial)
{
    if (RefuseWhenBusy())
        return 0;
    LinkOperation busy;
    try {
        CloseDevice();
        if (!Attached(serial))
            return 0; // still away: nothing to log every few seconds
        // A device that opens but does not answer as the analyser is not the one back yet.
        return OpenAnalyser(serial, false) == 1 && link().CommandOk == 1 ? 1 : 0;
    } catch (...) {
        CloseAndLog();
        return 0;
    }
}

} // namespace pxr3
