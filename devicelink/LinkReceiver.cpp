#include "devicelink/LinkReceiver.h"

#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/NumberText.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/FrameParser.h"
#include "devicelink/LinkDebug.h"
#include "devicelink/LinkRecovery.h"
#include "devicelink/USB_KOM.h"

#include <QEventLoop>
#include <algorithm>
#include <deque>
#include <optional>

namespace pxr3 {

namespace {

constexpr int64_t kSilenceUs = int64_t(kReadTimeoutMs) * 1000;
// Room for minutes of frames that no tick takes (none runs while the analyser is not being
// measured); beyond that the oldest go, with a note in the log.
constexpr std::size_t kMaxDataFrames = 256;

struct PendingReply {
    int body = 0;
    int64_t from = 0; // stream position: frames that began earlier are not the reply
    std::optional<Received> result;
    QByteArray stray; // bytes after the command that made no frame
    QEventLoop *loop = nullptr;
};

class Receiver {
public:
    void start(FtHandle handle)
    {
        stop();
        handle_ = handle;
        receiving_ = true;
        open_ = true;
        lastActivity_ = programClock().nowUs();
        driver().setArrivalHandler([this] { drain(); });
        drain(); // what came before the announcement was installed
    }

    void stop()
    {
        receiving_ = false;
        open_ = false;
        driver().setArrivalHandler(nullptr);
        parser_.clear();
        data_.clear();
        cancelSilence();
        if (pending_ && !pending_->result)
            resolve({ReceiveEnd::ReadError, {}, FT_DEVICE_NOT_OPENED});
    }

    void drain()
    {
        if (!receiving_)
            return;
        char chunk[4096];
        bool any = false;
        for (;;) {
            uint32_t got = 0;
            const FtStatus status = driver().read(handle_, chunk, sizeof chunk, got);
            if (status != FT_OK && status != FT_IO_ERROR) {
                readFailed(status);
                return;
            }
            if (got == 0)
                break;
            any = true;
            parser_.feed(chunk, int(got));
            if (got < sizeof chunk)
                break;
        }
        if (any)
            lastActivity_ = programClock().nowUs();
        sort();
        // A frame that came whole leaves nothing for the silence to cut: its watch would wake
        // the program once a frame for nothing.
        if (!waitingForReply() && !parser_.holdsBytes())
            cancelSilence();
        armSilence();
    }

    bool dataWaiting() const { return !data_.empty(); }
    int intactWaiting() const
    {
        return int(std::count_if(data_.begin(), data_.end(), [](const Received &r) { return r.intact; }));
    }
    bool open() const { return open_; }

    Received takeData()
    {
        Received item = std::move(data_.front());
        data_.pop_front();
        return item;
    }

    void dropData() { data_.clear(); }
    void setQueuedHandler(std::function<void()> handler) { queued_ = std::move(handler); }

    void expect(int body)
    {
        drain(); // bytes already here belong to what came before the command
        pending_.emplace();
        pending_->body = body;
        pending_->from = parser_.position();
        lastActivity_ = programClock().nowUs();
        armSilence();
    }

    void forget() { pending_.reset(); }

    Received await()
    {
        if (!pending_)
            return {ReceiveEnd::Abandoned, {}, FT_OK};
        if (!pending_->result) {
            QEventLoop loop;
            pending_->loop = &loop;
            loop.exec();
            if (pending_)
                pending_->loop = nullptr;
        }
        // An event loop that would not run (the program is ending) leaves nothing to wait for.
        Received result = pending_ && pending_->result ? *pending_->result : Received{ReceiveEnd::Abandoned, {}, FT_OK};
        pending_.reset();
        return result;
    }

    void abandon()
    {
        if (pending_ && !pending_->result)
            resolve({ReceiveEnd::Abandoned, {}, FT_OK});
    }

private:
    bool waitingForReply() const { return pending_ && !pending_->result; }

    void resolve(Received result)
    {
        pending_->result = std::move(result);
        if (pending_->loop)
            pending_->loop->quit();
    }

    void queueData(Received item)
    {
        if (data_.size() == kMaxDataFrames) {
            data_.pop_front();
            commLog().append(QStringLiteral("Fronta dat je plná: nejstarší rámec zahozen."));
        }
        data_.push_back(std::move(item));
        if (queued_)
            queued_();
    }

    void sort()
    {
        while (auto item = parser_.next()) {
            using Kind = FrameParser::Item::Kind;
            static const char *const kKinds[] = {"frame", "damaged", "junk"};
            DumpLinkBytes("in", kKinds[int(item->kind)], item->bytes);
            const bool afterCommand = waitingForReply() && item->start >= pending_->from;
            const bool intact = item->kind == Kind::Frame;
            if (afterCommand && item->kind != Kind::Junk && item->body() == pending_->body) {
                resolve({ReceiveEnd::Complete, std::move(item->bytes), FT_OK, intact});
            } else if (afterCommand && item->kind == Kind::Junk) {
                pending_->stray += item->bytes;
            } else if (item->kind == Kind::Junk || item->body() == FrameParser::kDataBody) {
                queueData({ReceiveEnd::Complete, std::move(item->bytes), FT_OK, intact});
            } else {
                // A reply nobody waits for any more (its command gave up): not a reading.
                commLog().append(QStringLiteral("Odpověď bez příkazu zahozena (") + IntText(item->bytes.size()) +
                                 QStringLiteral(" B)."));
            }
        }
    }

    void readFailed(FtStatus status)
    {
        // The device is gone or broken: nothing more is read until it is opened again.
        receiving_ = false;
        cancelSilence();
        parser_.clear();
        if (waitingForReply())
            resolve({ReceiveEnd::ReadError, {}, status});
        else
            queueData({ReceiveEnd::ReadError, {}, status});
        linkRecovery().lost(QStringLiteral("chyba čtení, ftStatus = ") + IntText(status));
    }

    void armSilence()
    {
        if (silenceTimer_ || !receiving_ || !(waitingForReply() || parser_.holdsBytes()))
            return;
        const int64_t due = lastActivity_ + kSilenceUs - programClock().nowUs();
        silenceTimer_ = programClock().schedule(due, [this] {
            silenceTimer_ = 0;
            if (programClock().nowUs() - lastActivity_ >= kSilenceUs)
                silence();
            armSilence();
        });
    }

    void cancelSilence()
    {
        if (silenceTimer_)
            programClock().cancel(std::exchange(silenceTimer_, 0));
    }

    void silence()
    {
        FrameParser::Leftover left = parser_.takeLeftover();
        if (!left.bytes.isEmpty())
            DumpLinkBytes("in", "cut by silence", left.bytes);
        const bool forReply = waitingForReply() && left.start >= pending_->from &&
            !(left.beginsDataFrame() && pending_->body != FrameParser::kDataBody);
        if (!left.bytes.isEmpty() && !left.covered) {
            if (forReply)
                pending_->stray += left.bytes;
            else
                queueData({ReceiveEnd::Silence, std::move(left.bytes), FT_OK});
        }
        if (waitingForReply())
            resolve({ReceiveEnd::Silence, pending_->stray, FT_OK});
    }

    FtHandle handle_ = 0;
    bool receiving_ = false;
    bool open_ = false; // from the opening to the closing, even after the device failed
    FrameParser parser_;
    std::deque<Received> data_;
    std::optional<PendingReply> pending_;
    int64_t lastActivity_ = 0;
    TimerId silenceTimer_ = 0;
    std::function<void()> queued_;
};

Receiver &receiver()
{
    static Receiver instance;
    return instance;
}

} // namespace

void StartReceiving(FtHandle handle) { receiver().start(handle); }
void StopReceiving() { receiver().stop(); }
bool DataFrameWaiting() { return receiver().dataWaiting(); }
int IntactFramesWaiting() { return receiver().intactWaiting(); }
bool DeviceOpen() { return receiver().open(); }
Received TakeDataFrame() { return receiver().takeData(); }
void DropDataFrames() { receiver().dropData(); }
void SetDataQueuedHandler(std::function<void()> handler) { receiver().setQueuedHandler(std::move(handler)); }
void ExpectReply(int bodyLength) { receiver().expect(bodyLength); }
void ForgetReply() { receiver().forget(); }
Received AwaitReply() { return receiver().await(); }
void AbandonReplyWait() { receiver().abandon(); }

} // namespace pxr3
