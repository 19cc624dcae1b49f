#include "devicelink/FrameDecoder.h"

#include "devicelink/FrameParser.h"

#include <QtEndian>

namespace pxr3 {

namespace {
// Low byte first; read as one 16-bit load where the processor's order is the same.
int Word(const uint8_t *bytes, int offset) { return qFromLittleEndian<quint16>(bytes + offset); }

// The channel counts. The frame and the counts never overlap, which lets the compiler read
// several words at a time; whole groups of four first, so that no scalar rest loop is needed.
void Counts(const uint8_t *__restrict words, int *__restrict counts)
{
    constexpr int kCount = int(std::tuple_size_v<decltype(DataBody::counts)>);
    constexpr int kGrouped = kCount / 4 * 4;
    for (int k = 0; k < kGrouped; ++k)
        counts[k] = Word(words, 2 * k);
    for (int k = kGrouped; k < kCount; ++k)
        counts[k] = Word(words, 2 * k);
}
} // namespace

DecodedData DecodeDataFrame(const QByteArray &frame, FrameTimeField time)
{
    constexpr int kLength = FrameParser::kDataBody + 4;
    // One result object returned on every path, so that it is built where the caller keeps
    // it: the body is a kilobyte, decoded for every frame.
    DecodedData decoded;
    const auto *bytes = reinterpret_cast<const uint8_t *>(frame.constData());
    if (frame.size() != kLength || bytes[0] != 0x40 || Word(bytes, 1) != FrameParser::kDataBody) {
        decoded.fault = QStringLiteral("no data frame");
        return decoded;
    }
    DataBody &body = decoded.body.emplace();
    body.number = bytes[4];
    if (time == FrameTimeField::Byte)
        body.seconds = bytes[5];
    else if (bytes[6] < 0x80)
        body.seconds = Word(bytes, 5);
    Counts(bytes + 7, body.counts.data());
    return decoded;
}

} // namespace pxr3
