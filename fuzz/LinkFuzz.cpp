// Bytes from the analyser through the real receive path and decoder: announced by the driver
// in pieces, drained into the frame parser, sorted into replies and data frames, taken by
// USB_ReadData as the acquisition's tick takes them and by the commands as they wait.
//
// The input is a script of records, each beginning with one byte b:
//   b & 3 == 0 or 1  bytes arrive: a length byte n and n bytes follow; they come (b >> 2) * 20 ms
//                    after what came before, then every data frame waiting is taken;
//   b & 3 == 2       a command (I R W B E D or a bare frame, by b >> 2); the arrivals that follow
//                    it in the script are the analyser's reply, each after its own pause;
//   b & 3 == 3       (b >> 2) * 20 ms pass, then every data frame waiting is taken.
// A reading or reply that is taken as good must be a whole frame of its length with the right
// checksum, and a data frame's channels must be its words.

#include "bench/LoopbackDriver.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/SharedState.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkReceiver.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"
#include "fuzz/FuzzSupport.h"

#include <QByteArray>
#include <functional>
#include <memory>

using namespace pxr3;

namespace {

constexpr int64_t kPauseStepUs = 20'000;
constexpr int kDataBody = kDataFrameLength - 4;

// The analyser's side: the bench's loop-back line, telling the script when the program wrote.
class ScriptedAnalyser : public bench::LoopbackDriver {
public:
    std::function<void()> written;

    FtStatus write(FtHandle handle, const char *data, uint32_t length, uint32_t &count) override
    {
        const FtStatus status = LoopbackDriver::write(handle, data, length, count);
        if (written)
            written();
        return status;
    }
};

class Script {
public:
    Script(const uint8_t *data, size_t size) : data_(data), size_(size) { }

    bool done() const { return at_ >= size_; }
    uint8_t peek() const { return data_[at_]; }
    bool arrivalNext() const { return !done() && (peek() & 3) <= 1; }
    uint8_t take() { return done() ? 0 : data_[at_++]; }
    QByteArray takeBytes()
    {
        const size_t n = std::min<size_t>(take(), size_ - at_);
        QByteArray bytes(reinterpret_cast<const char *>(data_ + at_), qsizetype(n));
        at_ += n;
        return bytes;
    }

private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

QString Hex(const QByteArray &bytes) { return QString::fromLatin1(bytes.left(64).toHex(' ')); }

// Checked here without the program's own frame code.
bool WholeFrame(const QByteArray &bytes, int body)
{
    if (bytes.size() != body + 4 || uint8_t(bytes[0]) != 0x40 || (uint8_t(bytes[1]) | uint8_t(bytes[2]) << 8) != body)
        return false;
    unsigned sum = 0;
    for (qsizetype i = 1; i + 1 < bytes.size(); ++i)
        sum += uint8_t(bytes[i]);
    return uint8_t(sum) == uint8_t(bytes.back());
}

void TakeDataFrames()
{
    while (DataFrameReady()) {
        USB_ReadData();
        if (link().CommandOk != 1)
            continue;
        const QByteArray &frame = link().RxData;
        if (!WholeFrame(frame, kDataBody))
            fuzz::Broken("a reading was taken from bytes that are no data frame:", Hex(frame));
        for (int k = 0; k < 254; ++k)
            if (state().ReceivedSpectrum(k + 1) != (uint8_t(frame[7 + 2 * k]) | uint8_t(frame[8 + 2 * k]) << 8))
                fuzz::Broken("a channel is not its word of the frame, channel", QString::number(k));
    }
}

struct Command {
    char letter;
    int replyBody; // 0: no reply is awaited
};
constexpr Command kCommands[] = {{'I', 21}, {'R', 5}, {'W', 1}, {'B', 1}, {'E', 1}, {'D', kDataBody}, {'X', 0}};

class LinkRun {
public:
    LinkRun(const uint8_t *data, size_t size) : script_(data, size)
    {
        auto owned = std::make_unique<ScriptedAnalyser>();
        analyser_ = owned.get();
        SetDriver(std::move(owned));
        ResetLinkState();
        ResetSharedState();
        commLog().clear();
        link().ftHandle = ScriptedAnalyser::kHandle;
        StartReceiving(ScriptedAnalyser::kHandle);
        analyser_->written = [this] { replyNext(); };
    }
    ~LinkRun()
    {
        ResetLinkState();
        SetDriver(nullptr);
        commLog().clear();
    }

    void run()
    {
        while (!script_.done()) {
            const uint8_t b = script_.take();
            switch (b & 3) {
            case 0:
            case 1:
                clock_.runFor((b >> 2) * kPauseStepUs);
                analyser_->deliver(script_.takeBytes());
                break;
            case 2: command(kCommands[(b >> 2) % std::size(kCommands)]); break;
            case 3: clock_.runFor((b >> 2) * kPauseStepUs); break;
            }
            TakeDataFrames();
        }
        clock_.runFor(2'000'000); // the silence after the last bytes
        TakeDataFrames();
    }

private:
    void command(const Command &c)
    {
        MCA_Command(QString(QLatin1Char(c.letter)));
        if (reply_)
            clock_.cancel(std::exchange(reply_, 0)); // the rest of the script comes after the command
        if (c.replyBody > 0 && link().CommandOk == 1 && !WholeFrame(link().RxData, c.replyBody))
            fuzz::Broken("a reply was taken from bytes that are no reply:", Hex(link().RxData));
    }

    // The arrivals right after a command answer it, each after its pause.
    void replyNext()
    {
        if (!script_.arrivalNext())
            return;
        reply_ = clock_.schedule((script_.peek() >> 2) * kPauseStepUs, [this] {
            reply_ = 0;
            script_.take();
            analyser_->deliver(script_.takeBytes());
            replyNext();
        });
    }

    VirtualClock clock_;
    VirtualClockScope clockScope_{clock_};
    Script script_;
    ScriptedAnalyser *analyser_ = nullptr;
    TimerId reply_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::SetUpProgram(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LinkRun(data, size).run();
    return 0;
}
