#include "devicelink/MCA_kom.h"

#include "core/CommLog.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "devicelink/FrameDecoder.h"
#include "devicelink/LinkInternal.h"
#include "devicelink/LinkReceiver.h"
#include "devicelink/USB_KOM.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace pxr3 {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// A value that does not fit the 16-bit field it is meant for: the command reports failure,
// logs why and goes on; the field keeps its previous value.
void Overflow(const QString &what)
{
    link().CommandOk = 0;
    commLog().append(QStringLiteral("Přetečení: ") + what);
}

// A box's text as the 16-bit whole number the command sends.
std::optional<int16_t> BoxValue(const std::function<QString()> &box, const QString &what)
{
    const QString text = box ? box() : QString();
    const std::optional<int16_t> value = RoundToInt16(LeadingNumber(text));
    if (!value)
        Overflow(what + QStringLiteral(" \"") + text + QStringLiteral("\""));
    return value;
}

// A log entry of a text, a number and a text, put together in a buffer kept from one frame
// to the next: these entries are written for every frame and so make no strings of their own.
const QString &NumberEntry(QStringView before, long long number, QStringView after = {})
{
    static QString entry;
    entry.resize(0); // keeps the room
    entry += before;
    AppendIntText(entry, number);
    entry += after;
    return entry;
}

// Reply bytes by their frame offset (0 = start byte).
int ByteAt(int offset) { return link().RxBytes(offset + 1); }

int Word(int offset) { return ByteAt(offset) + 256 * ByteAt(offset + 1); }

// Signed 16-bit fields (high voltages, the frame time of "D") have no meaning past 32767.
std::optional<int16_t> SignedWord(int offset, const QString &what)
{
    if (ByteAt(offset + 1) >= 0x80) {
        Overflow(what + QStringLiteral(" ") + IntText(Word(offset)));
        return std::nullopt;
    }
    return int16_t(Word(offset));
}

// RxBytes and RxLen as the received bytes give them.
void FillRxBytes()
{
    LinkState &l = link();
    // Only const access to RxData: it shares its bytes with the frame taken, and a writable
    // access would copy them.
    const int n = std::min<int>(l.RxData.size(), kDataFrameLength);
    uint8_t *const bytes = l.RxBytes.data();
    std::memcpy(bytes, l.RxData.constData(), std::size_t(n));
    std::fill(bytes + n, bytes + kDataFrameLength, uint8_t(0));
    l.RxLen = Word(1);
}

// The data body into the shared spectrum and the frame time; the frame is whole (checked).
void DecodeDataBody(FrameTimeField time)
{
    LinkState &l = link();
    CommLog &log = commLog();
    const DecodedData decoded = DecodeDataFrame(l.RxData, time);
    log.append(QStringLiteral("DATA:\r\n"));
    log.extend(NumberEntry(u"No.Meas.:", ByteAt(4), u"\r\n"));
    if (!decoded.body)
        return;
    const DataBody &body = *decoded.body;
    if (!body.seconds)
        Overflow(QStringLiteral("Time ") + IntText(Word(5)));
    else
        l.FrameTime = int16_t(*body.seconds);
    if (time == FrameTimeField::Byte)
        l.TotalTime += l.FrameTime;
    log.extend(NumberEntry(u"Time:", l.FrameTime, u" [s]"));
    std::copy(body.counts.begin(), body.counts.end(), state().ReceivedSpectrum.data());
}

// Steps 1 to 12 of a command.
void RunCommand(const QString &Cmd)
{
    LinkState &l = link();
    CommLog &log = commLog();
    l.Message.clear();
    l.Reply.clear();
    l.CommandOk = 0;

    const QChar letter = Cmd.isEmpty() ? QChar() : Cmd.front();
    QByteArray body;
    QString label;
    int replyLength = 0;
    switch (letter.unicode()) {
    case 'I': body = "I", label = QStringLiteral("GET ID"), replyLength = 25; break;
    case 'R': body = "R", label = QStringLiteral("GET HV"), replyLength = 9; break;
    case 'W':
        // Never outside what the detector takes: 0 to 1000.
        // An unreadable box keeps the previous value, which an "R" reply may have set to anything.
        if (const auto v = BoxValue(linkHooks().highVoltageText, QStringLiteral("VN")))
            l.HighVoltageValue = *v;
        l.HighVoltageValue = std::clamp<int16_t>(l.HighVoltageValue, 0, 1000);
        body = QByteArray("W").append(char(l.HighVoltageValue & 0xFF)).append(char(l.HighVoltageValue >> 8));
        label = QStringLiteral("SET HV"), replyLength = 5;
        break;
    case 'B':
        if (const auto v = BoxValue(linkHooks().measureTimeText, QStringLiteral("T")))
            state().MeasureTime = *v;
        body = QByteArray("B\x02", 2), label = QStringLiteral("MCA START"), replyLength = 5;
        break;
    case 'E': body = "E", label = QStringLiteral("MCA STOP"), replyLength = 5; break;
    case 'D': body = "D", label = QStringLiteral("MCA DATA"), replyLength = kDataFrameLength; break;
    default: break;
    }
    const QByteArray frame = body.isEmpty() ? QByteArray("\x40\x00", 2) : MakeFrame(body);
    l.Message = BytesText(frame);
    log.setStatus(QStringLiteral("Send to USB -> ") + label);
    log.append(QStringLiteral("Write : ") + label);

    if (replyLength > 0)
        ExpectReply(replyLength - 4); // before writing: a quick analyser may answer at once
    if (letter == QLatin1Char('B'))
        DropDataFrames(); // the measurement counts the analyser's frames from its start on
    if (!WriteFrame(frame)) {
        ForgetReply();
        state().LinkStatus = -1;
        l.CommandOk = 0;
        return;
    }
    if (replyLength == 0) {
        l.CommandOk = 1;
        return;
    }
    const Received reply = AwaitReply();
    if (!TakeReceived(reply))
        return;
    l.Reply = BytesText(l.RxData);
    if (l.RxData.isEmpty() || uint8_t(l.RxData.at(0)) != 0x40) {
        l.CommandOk = 0;
        return;
    }
    FillRxBytes();
    const bool matches = reply.intact;
    log.append(matches ? QStringLiteral("CSUM Ok !") : QStringLiteral("CSUM ERROR !"));
    log.append(QStringLiteral("Read :") + kCrLf + QStringLiteral("No.bytes : ") + IntText(l.RxLen) + kCrLf +
               QStringLiteral("Message : ") + l.Reply);
    l.CommandOk = matches ? 1 : 0;
    if (!matches)
        return;

    switch (letter.unicode()) {
    case 'I':
        l.Message = l.Reply.mid(3, l.RxLen);
        log.append(QStringLiteral("Code : ") + l.Message);
        if (l.Message.contains(QStringLiteral("PXR3"))) {
            log.append(QStringLiteral("Code Ok."));
            l.AnalyserIdentity = l.Message.trimmed();
        } else {
            l.CommandOk = 0;
        }
        break;
    case 'R':
        if (const auto v = SignedWord(4, QStringLiteral("VN")))
            l.HighVoltageValue = *v;
        if (const auto v = SignedWord(6, QStringLiteral("VN")))
            state().DeviceHighVoltage = *v;
        log.append(QStringLiteral("VN:") + IntText(state().DeviceHighVoltage) + QStringLiteral("/") +
                   IntText(l.HighVoltageValue));
        break;
    case 'W': log.append(QStringLiteral("SET HV:") + l.Reply); break;
    case 'E': log.append(QStringLiteral("STOP:") + l.Reply); break;
    case 'B': log.append(QStringLiteral("START:") + l.Reply); break;
    case 'D': DecodeDataBody(FrameTimeField::Word); break;
    }
}
} // namespace

void MCA_Command(const QString &Cmd)
{
    if (RefuseWhenBusy())
        return;
    LinkOperation busy;
    RunCommand(Cmd);
}

bool IdentifyAnalyser()
{
    RunCommand(QStringLiteral("I"));
    return link().CommandOk == 1;
}

bool DataFrameReady() { return DataFrameWaiting(); }

namespace {
DataReading ReadData()
{
    LinkState &l = link();
    CommLog &log = commLog();
    l.CommandOk = 0;
    if (!DataFrameWaiting())
        return DataReading::None;
    const Received frame = TakeDataFrame();
    if (!TakeReceived(frame))
        return DataReading::Failed;
    // The bytes as text only for a failed reading: a good frame's reply is "DATA Ok".
    if (!frame.intact)
        l.Reply = BytesText(l.RxData);
    if (uint8_t(l.RxData.at(0)) != 0x40)
        return DataReading::Failed; // bytes that made no frame: a failed reading, nothing to log
    log.append(QStringLiteral("Data received ...\r\n"));
    FillRxBytes();
    if (!frame.intact) {
        log.append(QStringLiteral("CSUM ERROR !"));
        return DataReading::Failed;
    }
    log.append(QStringLiteral("CSUM Ok !"));
    l.CommandOk = 1;
    log.append(NumberEntry(u"Read :\r\nNo.bytes : ", l.RxLen));
    DecodeDataBody(FrameTimeField::Byte);
    l.Reply = QStringLiteral("DATA Ok");
    log.setStatus(l.Reply);
    return DataReading::Good;
}
} // namespace

DataReading USB_ReadData()
{
    link().LastReading = ReadData();
    return link().LastReading;
}

} // namespace pxr3
