#pragma once
// A data frame's bytes turned into what the analyser measured, with nothing shared touched:
// the frame parser has judged the checksum already, this reads the fields.

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace pxr3 {

struct DataBody {
    int number = 0;                // the analyser's count of its frames, one byte
    std::optional<int> seconds;    // the frame time; none when its field overflows (see below)
    std::array<int, 254> counts{}; // channels 1 to 254, each 0 to 65535
};

struct DecodedData {
    std::optional<DataBody> body;
    QString fault; // why there is no body
};

// A frame sent on the analyser's own carries its time in one byte; the reply to "D" in a
// signed 16-bit word, which has no meaning past 32767.
enum class FrameTimeField { Byte, Word };
DecodedData DecodeDataFrame(const QByteArray &frame, FrameTimeField time);

} // namespace pxr3
