#include "devicelink/FrameDecoder.h"

#include "devicelink/FrameParser.h"

#include <QtEndian>

namespace pxr3 {

namespace {
// Low byte first; read as one 16-bit load where the processor's order is the same.
int Word(const uint8_t *bytes, int offset) { return qFromLittleEndian<quint16>(bytes + offset); }
} // namespace

DecodedData DecodeDataFrame(const QByteArray &frame, FrameTimeField time)
{
    constexpr int kLength = FrameParser::kDataBody + 4;
    const auto *bytes = reinterpret_cast<const uint8_t *>(frame.constData());
    if (frame.size() != kLength || bytes[0] != 0x40 || Word(bytes, 1) != FrameParser::kDataBody)
        return {std::nullopt, QStringLiteral("no data frame")};
    // Built in place: the body is a kilobyte, decoded for every frame.
    DecodedData decoded;
    DataBody &body = decoded.body.emplace();
    body.number = bytes[4];
    if (time == FrameTimeField::Byte)
        body.seconds = bytes[5];
    else if (bytes[6] < 0x80)
        body.seconds = Word(bytes, 5);
    for (int k = 0; k < 254; ++k)
        body.counts[k] = Word(bytes, 7 + 2 * k);
    return decoded;
}

} // namespace pxr3
