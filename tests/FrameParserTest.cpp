// The frame parser and the data frame decoder on made-up byte streams, and the receive
// queue's rules for what it hands the acquisition.

#include "devicelink/FrameParser.h"
#include "LinkTestSupport.h"
#include "devicelink/FrameDecoder.h"
#include "devicelink/LinkDebug.h"
#include "devicelink/LinkReceiver.h"

#include <vector>

namespace pxr3::test {
namespace {

using Kind = FrameParser::Item::Kind;

struct Seen {
    Kind kind;
    int64_t start;
    int size;
    bool operator==(const Seen &o) const { return kind == o.kind && start == o.start && size == o.size; }
};

std::ostream &operator<<(std::ostream &out, const Seen &s)
{
    return out << "{kind " << int(s.kind) << ", start " << s.start << ", size " << s.size << "}";
}

// Everything the parser hands out for the stream, fed in pieces of `piece` bytes.
std::vector<Seen> Parse(const QByteArray &stream, int piece)
{
    FrameParser parser;
    std::vector<Seen> seen;
    for (int at = 0; at < stream.size(); at += piece) {
        parser.feed(stream.constData() + at, std::min<int>(piece, int(stream.size()) - at));
        while (auto item = parser.next())
            seen.push_back({item->kind, item->start, int(item->bytes.size())});
    }
    return seen;
}

// The checksum is added up several bytes at a time: every length, bytes that fill its
// sums to the brim, and a change in any one byte must still be seen.
TEST(FrameParserTest, TheChecksumCoversEveryByteOfEveryLength)
{
    for (const int body : {1, 5, 21, FrameParser::kDataBody}) {
        for (const char fill : {char(0xFF), char(0x5A), char(0x00)}) {
            const QByteArray good = MakeFrame(QByteArray(body, fill));
            ASSERT_EQ(good.size(), body + 4);
            EXPECT_EQ(Parse(good, int(good.size())), (std::vector<Seen>{{Kind::Frame, 0, int(good.size())}})) << body;
            for (int at = 3; at < good.size(); ++at) { // a changed length makes no frame to judge
                QByteArray changed = good;
                changed[at] = char(changed[at] + 1);
                const std::vector<Seen> seen = Parse(changed, int(changed.size()));
                ASSERT_FALSE(seen.empty()) << body << " " << at;
                EXPECT_NE(seen.front().kind, Kind::Frame) << body << " " << at;
            }
        }
    }
}

TEST(FrameParserTest, FramesAreFoundAfterJunkAndDamageInAnyPieces)
{
    const QByteArray ack = TestFrame("A");             // 5 bytes
    const QByteArray data = TestDataFrame(2, 0, 1, 0); // 517 bytes
    QByteArray spoiled = data;
    spoiled.back() = char(spoiled.back() ^ 1);
    // A 0x40 that cannot begin a frame: its length is none the analyser sends.
    const QByteArray falseStart = Bytes({0x40, 0x07, 0x00});
    struct Case {
        const char *name;
        QByteArray stream;
        std::vector<Seen> expected;
    };
    const std::vector<Case> cases = {
        {"junk, then a frame", Bytes({1, 2, 3}) + ack, {{Kind::Junk, 0, 3}, {Kind::Frame, 3, 5}}},
        {"false start byte", falseStart + ack, {{Kind::Junk, 0, 3}, {Kind::Frame, 3, 5}}},
        {"bad checksum", spoiled + ack, {{Kind::Damaged, 0, 517}, {Kind::Frame, 517, 5}}},
        {"one byte lost inside a frame",
         data.left(300) + data.mid(301) + data,
         {{Kind::Damaged, 0, 517}, {Kind::Frame, 516, 517}}},
        {"frames back to back", ack + data + ack, {{Kind::Frame, 0, 5}, {Kind::Frame, 5, 517}, {Kind::Frame, 522, 5}}},
    };
    for (const Case &c : cases)
        for (int piece : {1, 7, 4096}) {
            EXPECT_EQ(Parse(c.stream, piece), c.expected) << c.name << ", pieces of " << piece;
        }
    // A byte gained inside a frame leaves its checksum byte behind the frame's end: even when
    // the shifted bytes happen to pass the checksum, the stray byte that came with them tells.
    EXPECT_EQ(Parse(data + Bytes({0x33}) + ack, 4096),
              (std::vector<Seen>{{Kind::Damaged, 0, 517}, {Kind::Frame, 518, 5}}));
}

TEST(FrameParserTest, AFrameCutBySilenceIsHandedOverAndTheNextOneIsFound)
{
    FrameParser parser;
    const QByteArray data = TestDataFrame(2, 0, 1, 0);
    parser.feed(data.constData(), 200);
    EXPECT_FALSE(parser.next());
    ASSERT_TRUE(parser.holdsBytes());
    const FrameParser::Leftover left = parser.takeLeftover();
    EXPECT_EQ(left.bytes, data.left(200));
    EXPECT_EQ(left.start, 0);
    EXPECT_FALSE(left.covered);
    EXPECT_TRUE(left.beginsDataFrame());
    EXPECT_FALSE(parser.holdsBytes());
    parser.feed(data.constData(), int(data.size()));
    const auto item = parser.next();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->kind, Kind::Frame);
    EXPECT_EQ(item->start, 200);
    EXPECT_EQ(item->bytes, data);
}

TEST(FrameDecoderTest, ADataFrameGivesItsCountsAndTimeAndAnythingElseItsFault)
{
    // Frame number 9, time bytes 200 and 0x81, channel 1 full (65535), then k % 7.
    const QByteArray frame = TestDataFrame(200, 0x81, 0xFF, 0xFF, 9);
    const DecodedData byByte = DecodeDataFrame(frame, FrameTimeField::Byte);
    ASSERT_TRUE(byByte.body);
    EXPECT_EQ(byByte.body->number, 9);
    EXPECT_EQ(byByte.body->seconds, 200);
    EXPECT_EQ(byByte.body->counts[0], 65535);
    EXPECT_EQ(byByte.body->counts[1], 1);
    EXPECT_EQ(byByte.body->counts[253], 253 % 7);
    // The reply to "D" reads its time as a signed word: 0x81C8 has no meaning.
    const DecodedData byWord = DecodeDataFrame(frame, FrameTimeField::Word);
    ASSERT_TRUE(byWord.body);
    EXPECT_FALSE(byWord.body->seconds);
    EXPECT_EQ(DecodeDataFrame(TestDataFrame(10, 1, 0, 0), FrameTimeField::Word).body->seconds, 266);
    for (const QByteArray &none : {TestFrame("A"), frame.left(516), Bytes({0x41}) + frame.mid(1)})
        EXPECT_FALSE(DecodeDataFrame(none, FrameTimeField::Byte).body) << none.size();
}

class ReceiveQueueTest : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        Connect();
        commLog().clear();
    }
    // Measurement number of the next good frame taken, 0 for a failed reading.
    int ReadNext()
    {
        EXPECT_TRUE(RunUntilDataFrame());
        USB_ReadData();
        return link().CommandOk == 1 ? link().RxBytes(5) : 0;
    }
};

TEST_F(ReceiveQueueTest, AFullQueueDropsTheOldestFrame)
{
    // One frame more than the queue holds, none taken meanwhile.
    QByteArray stream;
    for (int n = 1; n <= 257; ++n)
        stream += TestDataFrame(2, 0, 1, 0, n % 250 + 1);
    sim->send(stream);
    clock.runFor(120 * kSecond);
    EXPECT_TRUE(LogHas(QStringLiteral("Fronta dat je plná: nejstarší rámec zahozen.")));
    EXPECT_EQ(ReadNext(), 3); // the first frame (number 2) went
    int last = 0;
    while (DataFrameReady())
        last = ReadNext();
    EXPECT_EQ(last, 257 % 250 + 1);
}

QStringList linkDump;

TEST_F(ReceiveQueueTest, TheLinkDebugDumpShowsEveryFrameInAndOutInHex)
{
    EnableLinkDebug();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &c, const QString &m) {
            if (QLatin1String(c.category) == QLatin1String("pxr3.link"))
                linkDump << m;
        });
    MCA_Command(QStringLiteral("E"));
    sim->send(Bytes({0x41}) + TestDataFrame(2, 0, 1, 0, 9));
    ReadNext();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("pxr3.link.debug=false"));
    EXPECT_EQ(linkDump.value(0), QStringLiteral("out frame 5 B: 40 01 00 45 46"));
    EXPECT_EQ(linkDump.value(1), QStringLiteral("in frame 5 B: 40 01 00 45 46"));
    EXPECT_EQ(linkDump.value(2), QStringLiteral("in junk 1 B: 41"));
    EXPECT_TRUE(linkDump.value(3).startsWith(QStringLiteral("in frame 517 B: 40 01 02 44 09 02 00 01 00 01 00")))
        << linkDump.value(3).left(60).toStdString();
}

} // namespace
} // namespace pxr3::test
