#pragma once
// Frame transport and device connection: the checksum, the frame write, closing and opening
// the analyser. All state is the module state in link(); receiving is LinkReceiver's.

#include "core/OneBased.h"
#include "devicelink/Driver.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace pxr3 {

constexpr int kDataFrameLength = 517;
constexpr uint32_t kReadTimeoutMs = 900; // silence that ends a receive

// What the last data frame taken was: none there yet, a good frame decoded, or a failed reading.
enum class DataReading { None, Good, Failed };

struct LinkState {
    FtHandle ftHandle = 0; // kept until the next open, never cleared
    FtStatus ftStatus = 0; // of the last baud-rate setting or the last read
    QByteArray TxBuffer;
    uint32_t BytesWritten = 0;
    uint32_t TotalBytes = 0;
    QByteArray RxData;
    int16_t RxTimeout = 0; // 0 / -1
    int16_t RxError = 0;   // 0 / -1
    int16_t CommandOk = 0; // 1 ok, 0 failed

    QString Reply;            // the raw reply, one character per byte; "DATA Ok" after a good data frame
    QString Message;          // the frame being built; after "I" the identity text
    QString AnalyserIdentity; // the identity text of the last analyser that answered "I"
    OneBased<uint8_t, kDataFrameLength> RxBytes;
    int32_t RxLen = 0;
    int16_t HighVoltageValue = 0;
    int16_t FrameTime = 0;
    int32_t TotalTime = 0;
    DataReading LastReading = DataReading::None; // of the last USB_ReadData

    uint32_t NumDevices = 0;
    QString Description;
    QString SerialNumber;
};

LinkState &link();
void ResetLinkState(); // tests start each case from a fresh link, nothing received

// Bytes as text with one character per byte, and back.
QString BytesText(const QByteArray &bytes);
QByteArray TextBytes(const QString &text);

// The frame checksum: the sum of the character codes mod 256, as one character.
QString CSUM(const QString &s);
char CSUM(const QByteArray &bytes);
// Start byte, little-endian length, body and the checksum of length and body.
QByteArray MakeFrame(const QByteArray &body);

// Writes TxBuffer in one driver call; false (status line says so) when it failed.
bool WriteFrame(const QByteArray &frame);
// Takes a receive's outcome into RxData and the flags; false after a silence or an error,
// with the status line telling which and CommandOk 0.
struct Received;
bool TakeReceived(const Received &received);

// The operator's close and open; either ends the link's own attempts to reconnect.
void USB_Close();
int USB_Open(); // 1: an analyser (or at least a configured device) is open, 0: none
// Lets the device go and opens the one with this serial number again (any, when empty);
// 1 when it is the analyser and answers.
int USB_Reopen(const QString &serial);

} // namespace pxr3
