#include "devicelink/FrameParser.h"

#include <cstring>

namespace pxr3 {

namespace {
constexpr uint8_t kStartByte = 0x40;
constexpr int kEnvelope = 4; // start byte, two length bytes, checksum

int BodyLength(const QByteArray &frame) { return uint8_t(frame[1]) | uint8_t(frame[2]) << 8; }

// The sum of the bytes, eight at a time: the checksum runs over every byte of every frame.
unsigned ByteSum(const uint8_t *bytes, int count)
{
    constexpr uint64_t kLowBytes = 0x00FF00FF00FF00FFULL;
    unsigned sum = 0;
    int i = 0;
    while (count - i >= 8) {
        // Pairs of bytes added up in four 16-bit lanes, which hold 128 words of 2 x 255 each.
        uint64_t lanes = 0;
        for (int words = 0; words < 128 && count - i >= 8; ++words, i += 8) {
            uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            lanes += (word & kLowBytes) + (word >> 8 & kLowBytes);
        }
        sum += unsigned((lanes & 0xFFFF) + (lanes >> 16 & 0xFFFF) + (lanes >> 32 & 0xFFFF) + (lanes >> 48));
    }
    for (; i < count; ++i)
        sum += bytes[i];
    return sum;
}
} // namespace

bool FrameParser::PlausibleBody(int length)
{
    return length == 1 || length == 5 || length == 21 || length == kDataBody;
}

int FrameParser::Item::body() const { return bytes.size() >= 3 ? BodyLength(bytes) : -1; }

bool FrameParser::Leftover::beginsDataFrame() const
{
    return bytes.size() >= 3 && uint8_t(bytes[0]) == kStartByte && BodyLength(bytes) == kDataBody;
}

// Always a copy: mid() hands out the buffer itself when it holds just these bytes, and the
// next feed would then copy the whole buffer before appending to it.
QByteArray FrameParser::held(int offset, int length) const
{
    return QByteArray(buffer_.constData() + head_ + offset, length);
}

void FrameParser::feed(const char *data, int size)
{
    // Consumed bytes are dropped only now and then, so a frame costs no shifting per byte.
    if (head_ > 4096 && head_ * 2 > buffer_.size()) {
        buffer_.remove(0, head_);
        head_ = 0;
    }
    buffer_.append(data, size);
    fed_ += size;
}

// The analyser is silent after a frame or begins the next one: a stray byte right behind a
// frame means a byte was gained or lost inside, which the 8-bit checksum misses once in 256
// times. A next frame whose start byte was damaged (after a stall it comes at once) is no
// stray byte: a length the analyser sends follows it.
bool FrameParser::StrayAt(int offset) const
{
    if (at(offset) == kStartByte)
        return false;
    return available() < offset + 3 || !PlausibleBody(at(offset + 1) | at(offset + 2) << 8);
}

void FrameParser::skipByte()
{
    if (headPosition() >= coveredUntil_ && !afterDamage_) {
        if (junk_.isEmpty())
            junkStart_ = headPosition();
        junk_.append(char(at(0)));
    }
    ++head_;
}

std::optional<FrameParser::Item> FrameParser::takeJunk()
{
    if (junk_.isEmpty())
        return std::nullopt;
    Item item{Item::Kind::Junk, junk_, junkStart_};
    junk_.clear();
    return item;
}

std::optional<FrameParser::Item> FrameParser::next()
{
    for (;;) {
        if (available() == 0)
            return std::nullopt;
        if (at(0) != kStartByte) {
            skipByte();
            continue;
        }
        if (available() < 3)
            return std::nullopt;
        const int body = at(1) | at(2) << 8;
        if (!PlausibleBody(body)) {
            skipByte();
            continue;
        }
        const int length = body + kEnvelope;
        if (available() < length)
            return std::nullopt;
        const int64_t start = headPosition();
        const unsigned sum = ByteSum(reinterpret_cast<const uint8_t *>(buffer_.constData()) + head_ + 1, length - 2);
        const bool strayBehind = available() > length && StrayAt(length);
        if (uint8_t(sum) == at(length - 1) && !strayBehind) {
            // Junk before a good frame is reported first, to keep stream order.
            if (auto junk = takeJunk())
                return junk;
            head_ += length;
            coveredUntil_ = std::max(coveredUntil_, start + length);
            afterDamage_ = false;
            return Item{Item::Kind::Frame, held(-length, length), start};
        }
        // Not a frame after all, or a damaged one: the search goes on from the next byte,
        // and the rest of these bytes is not reported a second time. Junk just before it
        // and the damaged frame are one failure.
        const bool reported = start < coveredUntil_ || !junk_.isEmpty();
        QByteArray bytes = held(0, length);
        if (!junk_.isEmpty())
            skipByte();
        else
            ++head_;
        coveredUntil_ = std::max(coveredUntil_, start + length);
        if (!reported) {
            afterDamage_ = true;
            return Item{Item::Kind::Damaged, std::move(bytes), start};
        }
    }
}

FrameParser::Leftover FrameParser::takeLeftover()
{
    Leftover left;
    left.start = junk_.isEmpty() ? headPosition() : junkStart_;
    left.bytes = junk_ + held(0, available());
    left.covered = junk_.isEmpty() && headPosition() < coveredUntil_;
    junk_.clear();
    head_ = buffer_.size();
    // The rest of a frame cut off by the silence is part of the same failure.
    afterDamage_ = afterDamage_ || !left.bytes.isEmpty();
    return left;
}

void FrameParser::clear()
{
    buffer_.clear();
    head_ = 0;
    junk_.clear();
    coveredUntil_ = fed_;
    afterDamage_ = false;
}

} // namespace pxr3
