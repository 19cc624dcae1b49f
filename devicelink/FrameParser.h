#pragma once
// Cuts the byte stream from the analyser into frames: start byte 0x40, body length (low
// byte first), body, checksum. Works on bytes only, so it is fed whatever arrives, in
// pieces of any size. Bytes that cannot begin a frame are handed out as junk; a frame
// whose checksum fails is handed out as damaged and the search for the next frame goes on
// inside it, because a byte lost or gained puts the next frame's start there. One fault
// is one failure: what follows a damaged frame up to the next good one is not reported.
// A frame with a stray byte right behind it, in the bytes fed so far, counts as damaged.

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace pxr3 {

class FrameParser {
public:
    // Body lengths the analyser sends: a one-byte acknowledgement, the high voltage, the
    // identity and the data frame. Any other length means the 0x40 was not a start byte.
    static bool PlausibleBody(int length);
    static constexpr int kDataBody = 513;

    struct Item {
        enum class Kind { Frame, Damaged, Junk };
        Kind kind;
        QByteArray bytes;
        int64_t start;    // stream position of the first byte
        int body() const; // length field of a frame or damaged frame
    };

    void feed(const char *data, int size);
    // The next complete item, in stream order; empty until more bytes come.
    std::optional<Item> next();

    // The silence after a frame began and never ended: what is held, dropped from the
    // parser; `covered` is true when the bytes lie inside a damaged frame already reported.
    struct Leftover {
        QByteArray bytes;
        int64_t start = 0;
        bool covered = false;
        bool beginsDataFrame() const; // start byte and the data frame's length
    };
    Leftover takeLeftover();

    bool holdsBytes() const { return !junk_.isEmpty() || head_ < buffer_.size(); }
    int64_t position() const { return fed_; } // bytes fed so far
    void clear();

private:
    int available() const { return int(buffer_.size() - head_); }
    uint8_t at(int offset) const { return uint8_t(buffer_[head_ + offset]); }
    int64_t headPosition() const { return fed_ - available(); }
    QByteArray held(int offset, int length) const; // bytes from the head on
    bool StrayAt(int offset) const;
    void skipByte();
    std::optional<Item> takeJunk();

    QByteArray buffer_;
    int head_ = 0;
    int64_t fed_ = 0;
    QByteArray junk_;
    int64_t junkStart_ = 0;
    int64_t coveredUntil_ = 0; // end of the last damaged frame: bytes before it are not reported again
    bool afterDamage_ = false; // stray bytes up to the next good frame belong to the damage reported
};

} // namespace pxr3
