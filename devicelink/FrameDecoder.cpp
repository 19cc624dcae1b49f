#include "devicelink/FrameDecoder.h"

#include "devicelink/FrameParser.h"

namespace pxr3 {

namespace {
int Byte(const QByteArray &frame, int offset) { return uint8_t(frame[offset]); }
int Word(const QByteArray &frame, int offset) { return Byte(frame, offset) + 256 * Byte(frame, offset + 1); }
} // namespace

DecodedData DecodeDataFrame(const QByteArray &frame, FrameTimeField time)
{
    constexpr int kLength = FrameParser::kDataBody + 4;
    if (frame.size() != kLength || Byte(frame, 0) != 0x40 || Word(frame, 1) != FrameParser::kDataBody)
        return {std::nullopt, QStringLiteral("no data frame")};
    DataBody body;
    body.number = Byte(frame, 4);
    if (time == FrameTimeField::Byte)
        body.seconds = Byte(frame, 5);
    else if (Byte(frame, 6) < 0x80)
        body.seconds = Word(frame, 5);
    for (int k = 0; k < 254; ++k)
        body.counts[k] = Word(frame, 7 + 2 * k);
    return {body, {}};
}

} // namespace pxr3
