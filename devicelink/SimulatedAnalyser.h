#pragma once
// An in-process analyser for --simulate, the tests and the benchmark. It answers every
// command as the instrument does and, while measuring, sends a data frame every 2 s with
// a spectrum of the radon progeny alpha peaks. It runs on the program clock: bytes are
// delivered by timers, as a bridge delivers them, at the pace of a 19200-baud wire
// (RealTime) or each frame at once when it is sent (Fast). On a virtual clock either pace
// runs as fast as the program can take it.

#include "core/Clock.h"
#include "devicelink/Driver.h"

#include <QByteArray>
#include <array>
#include <deque>
#include <optional>
#include <random>
#include <vector>

namespace pxr3 {

class SimulatedAnalyser : public Driver {
public:
    enum class Pace { RealTime, Fast };

    // The driver operation of a device that answers with a failure status.
    enum class Step { None, Description, Serial, Open, BaudRate, DataCharacteristics, Timeouts, Chars };

    // What goes wrong with the next frame the open device sends (a reply or a data frame).
    enum class Fault { NoReply, DropByte, ExtraByte, WrongChecksum, WrongStartByte, InPieces };

    struct Device {
        std::string description;
        std::string serial;
        std::string identity; // empty: the device never answers
        Step failingStep = Step::None;
    };
    static Device Analyser(std::string serial = "PXR3SIM1");

    static constexpr int kChannels = 254;
    static constexpr int64_t kFramePeriodUs = 2'000'000;
    static constexpr int64_t kPieceGapUs = 100'000;
    static constexpr int64_t kLatencyUs = 16'000; // a bridge hands over what it has this often

    explicit SimulatedAnalyser(Pace pace = Pace::Fast, uint32_t seed = 1);
    ~SimulatedAnalyser() override;

    // Set-up and fault injection.
    void setDevices(std::vector<Device> devices);
    void failDeviceCount(bool fail) { failCount_ = fail; }
    void failNext(Fault fault) { faults_.push_back(fault); }
    void stall(int64_t ms); // the open device sends nothing for this long
    void disconnect();      // reads and writes fail until reconnect()
    void reconnect() { disconnected_ = false; }
    // Pulled out for this long: the device is neither listed nor answers, then it is back as
    // a bridge that was just plugged in (closed, not measuring).
    void unplug(int64_t forUs);
    bool pluggedIn() const { return !unplugged_; }
    void replyNextWith(const QByteArray &bytes); // the next command is answered with these bytes
    void send(const QByteArray &bytes);          // bytes the open device puts on the line now

    // What the tests look at.
    const std::vector<QByteArray> &written() const { return written_; }
    // The truth of what went out, kept once asked for: each frame as built, the fault it went
    // out with, and whether the reader took all of its bytes or they were lost (never sent, or
    // dropped with the line when the device was closed, reopened or plugged in again).
    struct SentFrame {
        enum class Fate { OnItsWay, Read, Lost };
        QByteArray bytes;
        bool data = false; // a data frame, not a reply
        std::optional<Fault> fault;
        Fate fate = Fate::OnItsWay;
        bool heldMidway = false; // a stall past the reader's timeout split its bytes in two
        // The bytes as built, in one go as the reader sees it.
        bool intact() const { return (!fault || *fault == Fault::InPieces) && !heldMidway; }
    };
    void keepSentFrames() { keepSent_ = true; }
    const std::vector<SentFrame> &sentFrames() const { return sent_; }
    uint64_t readCalls() const { return readCalls_; }
    int opens() const { return opens_; }
    bool measuring() const;
    uint16_t highVoltage() const;
    uint64_t framesSent() const { return framesSent_; }
    int64_t nowUs() const;

    FtStatus countDevices(uint32_t &count) override;
    FtStatus descriptionByIndex(uint32_t index, std::string &description) override;
    FtStatus serialByIndex(uint32_t index, std::string &serial) override;
    FtStatus openBySerial(const std::string &serial, FtHandle &handle) override;
    FtStatus setBaudRate(FtHandle handle, uint32_t baud) override;
    FtStatus setDataCharacteristics(FtHandle handle, uint8_t wordLength, uint8_t stopBits, uint8_t parity) override;
    FtStatus setTimeouts(FtHandle handle, uint32_t readMs, uint32_t writeMs) override;
    FtStatus setChars(FtHandle handle, uint8_t eventChar, uint8_t eventEnabled, uint8_t errorChar,
                      uint8_t errorEnabled) override;
    FtStatus write(FtHandle handle, const char *data, uint32_t length, uint32_t &written) override;
    FtStatus read(FtHandle handle, char *buffer, uint32_t wanted, uint32_t &returned) override;
    FtStatus close(FtHandle handle) override;

private:
    struct Chunk {
        int64_t at;       // when its first byte is on the line
        QByteArray bytes; // still to be read
        int64_t taken = 0;
    };
    struct Unit {
        Device config;
        bool open = false;
        std::deque<Chunk> line; // on its way over the wire
        QByteArray arrived;     // delivered, waiting to be read
        bool measuring = false;
        int64_t startedAt = 0;
        int64_t nextFrameAt = 0;
        uint8_t measurements = 0;
        uint16_t highVoltage = 500;
        std::array<uint32_t, kChannels> total{};
        int64_t queuedBytes = 0, readBytes = 0; // of the line since it opened
        struct Unread {
            std::size_t index;  // in sent_
            int64_t start, end; // where its bytes lie on the line
        };
        std::deque<Unread> unread;
    };

    Unit *unit(FtHandle handle);
    FtStatus configure(FtHandle handle, Step step);
    FtStatus listed(uint32_t index, Step step, std::string Device::*field, std::string &text) const;
    int64_t now() const;
    Unit *openUnit();
    void answer(Unit &u, const QByteArray &frame);
    void transmit(Unit &u, QByteArray frame, int64_t at, bool data);
    void queue(Unit &u, Chunk chunk);
    void clearLine(Unit &u);
    void sendDueFrames(Unit &u, int64_t upTo);
    QByteArray dataBody(const std::array<uint32_t, kChannels> &counts, uint8_t measurements, uint16_t seconds) const;
    std::array<uint32_t, kChannels> countFrame(int64_t at);
    int64_t onWire(const Chunk &c, int64_t at) const;
    int64_t nextDeliveryAt(const Unit &u, int64_t after) const;
    void deliver();
    void scheduleDelivery();

    Pace pace_;
    int64_t origin_;
    std::mt19937 random_;
    std::array<double, kChannels> shapeCdf_{};

    std::vector<Unit> units_;
    bool failCount_ = false;
    bool disconnected_ = false;
    bool unplugged_ = false;
    TimerId replug_ = 0;
    int64_t stalledUntil_ = 0;
    std::deque<Fault> faults_;
    std::deque<QByteArray> scriptedReplies_;

    TimerId delivery_ = 0;
    int64_t deliveryAt_ = INT64_MAX;
    int64_t lastDelivery_ = INT64_MIN / 2;

    std::vector<QByteArray> written_;
    uint64_t readCalls_ = 0;
    int opens_ = 0;
    uint64_t framesSent_ = 0;
    bool keepSent_ = false;
    std::vector<SentFrame> sent_;
};

} // namespace pxr3
