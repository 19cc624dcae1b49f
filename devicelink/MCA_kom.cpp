#include "devicelink/MCA_kom.h"

#include "core/CommLog.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "devicelink/LinkInternal.h"
#include "devicelink/LinkReceiver.h"
#include "devicelink/USB_KOM.h"

#include <algorithm>
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

// Fills RxBytes and RxLen from Reply; true for a whole frame whose last byte is its checksum.
bool ChecksumMatches()
{
    LinkState &l = link();
    const QByteArray bytes = TextBytes(l.Reply);
    l.RxBytes.fill(0);
    for (int i = 0; i < std::min<int>(bytes.size(), kDataFrameLength); ++i)
        l.RxBytes(i + 1) = uint8_t(bytes[i]);
    l.RxLen = Word(1);
    // Exactly as long as its length field says: stray bytes that begin with the start byte
    // ("40 01" sums to its last byte) are no frame.
    return bytes.size() == l.RxLen + 4 && CSUM(bytes.mid(1, l.RxLen + 2)) == bytes.back();
}

// Counts are never negative, so a channel is decoded unsigned (0 to 65535) rather than
// read as a negative 16-bit number; the frame time of a data frame is one byte.
void DecodeDataBody(bool frameTimeFromWord)
{
    LinkState &l = link();
    CommLog &log = commLog();
    log.append(QStringLiteral("DATA:") + kCrLf);
    log.extend(QStringLiteral("No.Meas.:") + IntText(ByteAt(4)) + kCrLf);
    if (!frameTimeFromWord) {
        l.FrameTime = int16_t(ByteAt(5));
        l.TotalTime += l.FrameTime;
    } else if (const auto t = SignedWord(5, QStringLiteral("Time"))) {
        l.FrameTime = *t;
    }
    log.extend(QStringLiteral("Time:") + IntText(l.FrameTime) + QStringLiteral(" [s]"));
    for (int k = 0; k <= 253; ++k)
        state().ReceivedSpectrum(k + 1) = Word(7 + 2 * k);
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
    case 'I':
        body = "I", label = QStringLiteral("GET ID"), replyLength = 25;
        break;
    case 'R':
        body = "R", label = QStringLiteral("GET HV"), replyLength = 9;
        break;
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
    case 'E':
        body = "E", label = QStringLiteral("MCA STOP"), replyLength = 5;
        break;
    case 'D':
        body = "D", label = QStringLiteral("MCA DATA"), replyLength = kDataFrameLength;
        break;
    default:
        break;
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
    if (!TakeReceived(AwaitReply()))
        return;
    l.Reply = BytesText(l.RxData);
    if (l.RxData.isEmpty() || uint8_t(l.RxData[0]) != 0x40) {
        l.CommandOk = 0;
        return;
    }
    const bool matches = ChecksumMatches();
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
        if (l.Message.contains(QStringLiteral("PXR3")))
            log.append(QStringLiteral("Code Ok."));
        else
            l.CommandOk = 0;
        break;
    case 'R':
        if (const auto v = SignedWord(4, QStringLiteral("VN")))
            l.HighVoltageValue = *v;
        if (const auto v = SignedWord(6, QStringLiteral("VN")))
            state().DeviceHighVoltage = *v;
        log.append(QStringLiteral("VN:") + IntText(state().DeviceHighVoltage) + QStringLiteral("/") +
                   IntText(l.HighVoltageValue));
        break;
    case 'W':
        log.append(QStringLiteral("SET HV:") + l.Reply);
        break;
    case 'E':
        log.append(QStringLiteral("STOP:") + l.Reply);
        break;
    case 'B':
        log.append(QStringLiteral("START:") + l.Reply);
        break;
    case 'D':
        DecodeDataBody(true);
        break;
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
    if (!TakeReceived(TakeDataFrame()))
        return DataReading::Failed;
    l.Reply = BytesText(l.RxData);
    if (uint8_t(l.RxData[0]) != 0x40)
        return DataReading::Failed; // bytes that made no frame: a failed reading, nothing to log
    log.append(QStringLiteral("Data received ...") + kCrLf);
    if (!ChecksumMatches()) {
        log.append(QStringLiteral("CSUM ERROR !"));
        return DataReading::Failed;
    }
    log.append(QStringLiteral("CSUM Ok !"));
    l.CommandOk = 1;
    log.append(QStringLiteral("Read :") + kCrLf + QStringLiteral("No.bytes : ") + IntText(l.RxLen));
    DecodeDataBody(false);
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
