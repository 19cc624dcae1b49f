#include "devicelink/SimulatedAnalyser.h"

#include "devicelink/USB_KOM.h"

#include <algorithm>
#include <cmath>

namespace pxr3 {

namespace {
constexpr int64_t kBitsPerByte = 10; // start, 8 data, stop
constexpr int64_t kBaud = 19200;

// Spectrum shape over the 254 channels: a falling continuum under the alpha lines of the
// radon daughters, each with the low-energy tail that air and the detector window give.
double ShapeAt(int k)
{
    auto alphaLine = [k](double centre, double height) {
        const double d = k - centre;
        const double core = height * std::exp(-d * d / (2 * 3.5 * 3.5));
        const double tail = d < 0 ? 0.25 * height * std::exp(d / 9.0) : 0.0;
        return std::max(core, tail);
    };
    const double continuum = 0.04 + 0.4 * std::exp(-k / 35.0);
    return continuum + alphaLine(152, 10.0) /* Po-218, 6.00 MeV */ + alphaLine(198, 9.0) /* Po-214, 7.69 MeV */;
}

// Counts per 2 s frame; the rate drifts slowly, as radon in a room does.
double MeanCountsAt(int64_t atUs)
{
    const double hours = double(atUs) / 3.6e9;
    return 90.0 * (1.0 + 0.2 * std::sin(2 * M_PI * hours / 1.5));
}
} // namespace

SimulatedAnalyser::Device SimulatedAnalyser::Analyser(std::string serial)
{
    return {"PXR3 simulated analyser", std::move(serial), "PXR3 simulated MCA", Step::None};
}

SimulatedAnalyser::SimulatedAnalyser(Pace pace, uint32_t seed)
    : pace_(pace), origin_(programClock().nowUs()), random_(seed)
{
    double sum = 0;
    for (int k = 0; k < kChannels; ++k)
        shapeCdf_[k] = sum += ShapeAt(k);
    for (double &c : shapeCdf_)
        c /= sum;
    setDevices({Analyser()});
}

void SimulatedAnalyser::setDevices(std::vector<Device> devices)
{
    units_.clear();
    for (Device &d : devices) {
        units_.emplace_back();
        units_.back().config = std::move(d);
    }
}

SimulatedAnalyser::~SimulatedAnalyser()
{
    if (delivery_)
        programClock().cancel(delivery_);
    if (replug_)
        programClock().cancel(replug_);
}

int64_t SimulatedAnalyser::now() const { return programClock().nowUs() - origin_; }

int64_t SimulatedAnalyser::nowUs() const { return now(); }

SimulatedAnalyser::Unit *SimulatedAnalyser::unit(FtHandle handle)
{
    if (handle < 1 || handle > units_.size() || !units_[handle - 1].open)
        return nullptr;
    return &units_[handle - 1];
}

bool SimulatedAnalyser::measuring() const
{
    return std::any_of(units_.begin(), units_.end(), [](const Unit &u) { return u.open && u.measuring; });
}

uint16_t SimulatedAnalyser::highVoltage() const
{
    for (const Unit &u : units_)
        if (u.open)
            return u.highVoltage;
    return 0;
}

SimulatedAnalyser::Unit *SimulatedAnalyser::openUnit()
{
    for (Unit &u : units_)
        if (u.open)
            return &u;
    return nullptr;
}

void SimulatedAnalyser::stall(int64_t ms)
{
    stalledUntil_ = now() + ms * 1000;
    if (Unit *u = openUnit(); u && stalledUntil_ - lastDelivery_ >= int64_t(kReadTimeoutMs) * 1000) {
        const int64_t delivered = u->readBytes + u->arrived.size();
        for (const Unit::Unread &frame : u->unread)
            if (frame.start < delivered && delivered < frame.end)
                sent_[frame.index].heldMidway = true;
    }
    scheduleDelivery();
}

void SimulatedAnalyser::disconnect()
{
    disconnected_ = true;
    announceArrival(); // the reader finds out at its next read, as with a bridge pulled out
}

void SimulatedAnalyser::unplug(int64_t forUs)
{
    unplugged_ = true;
    disconnect();
    if (replug_)
        programClock().cancel(replug_);
    replug_ = programClock().schedule(forUs, [this] {
        replug_ = 0;
        unplugged_ = false;
        disconnected_ = false;
        // The bridge starts afresh: the handle the program held is no longer valid.
        for (Unit &u : units_) {
            u.open = false;
            u.measuring = false;
            clearLine(u);
        }
    });
}

void SimulatedAnalyser::replyNextWith(const QByteArray &bytes) { scriptedReplies_.push_back(bytes); }

void SimulatedAnalyser::send(const QByteArray &bytes)
{
    Unit *u = openUnit();
    if (bytes.isEmpty() || !u)
        return;
    queue(*u, {now(), bytes});
    scheduleDelivery();
}

FtStatus SimulatedAnalyser::countDevices(uint32_t &count)
{
    if (failCount_)
        return FT_OTHER_ERROR;
    count = unplugged_ ? 0 : uint32_t(units_.size());
    return FT_OK;
}

FtStatus SimulatedAnalyser::listed(uint32_t index, Step step, std::string Device::*field, std::string &text) const
{
    if (unplugged_ || index >= units_.size())
        return FT_DEVICE_NOT_FOUND;
    if (units_[index].config.failingStep == step)
        return FT_OTHER_ERROR;
    text = IdentityText(units_[index].config.*field);
    return FT_OK;
}

FtStatus SimulatedAnalyser::descriptionByIndex(uint32_t index, std::string &description)
{
    return listed(index, Step::Description, &Device::description, description);
}

FtStatus SimulatedAnalyser::serialByIndex(uint32_t index, std::string &serial)
{
    return listed(index, Step::Serial, &Device::serial, serial);
}

FtStatus SimulatedAnalyser::openBySerial(const std::string &serial, FtHandle &handle)
{
    for (std::size_t i = 0; i < units_.size(); ++i) {
        Unit &u = units_[i];
        if (u.config.serial != serial)
            continue;
        if (u.config.failingStep == Step::Open || disconnected_)
            return FT_DEVICE_NOT_OPENED;
        u.open = true;
        clearLine(u);
        ++opens_;
        handle = FtHandle(i + 1);
        return FT_OK;
    }
    return FT_DEVICE_NOT_FOUND;
}

FtStatus SimulatedAnalyser::configure(FtHandle handle, Step step)
{
    Unit *u = unit(handle);
    if (!u)
        return FT_INVALID_HANDLE;
    if (disconnected_)
        return FT_DEVICE_NOT_FOUND;
    return u->config.failingStep == step ? FT_OTHER_ERROR : FT_OK;
}

FtStatus SimulatedAnalyser::setBaudRate(FtHandle handle, uint32_t baud)
{
    const FtStatus status = configure(handle, Step::BaudRate);
    return status == FT_OK && baud != kBaud ? FT_INVALID_BAUD_RATE : status;
}

FtStatus SimulatedAnalyser::setDataCharacteristics(FtHandle handle, uint8_t wordLength, uint8_t stopBits,
                                                   uint8_t parity)
{
    const FtStatus status = configure(handle, Step::DataCharacteristics);
    return status == FT_OK && (wordLength != 8 || stopBits != 0 || parity != 0) ? FT_INVALID_PARAMETER : status;
}

FtStatus SimulatedAnalyser::setTimeouts(FtHandle handle, uint32_t, uint32_t)
{
    return configure(handle, Step::Timeouts);
}

FtStatus SimulatedAnalyser::setChars(FtHandle handle, uint8_t, uint8_t, uint8_t, uint8_t)
{
    return configure(handle, Step::Chars);
}

FtStatus SimulatedAnalyser::close(FtHandle handle)
{
    Unit *u = unit(handle);
    if (!u)
        return FT_INVALID_HANDLE;
    u->open = false;
    u->measuring = false;
    clearLine(*u);
    scheduleDelivery();
    return FT_OK;
}

FtStatus SimulatedAnalyser::write(FtHandle handle, const char *data, uint32_t length, uint32_t &written)
{
    written = 0;
    Unit *u = unit(handle);
    if (!u)
        return FT_INVALID_HANDLE;
    if (disconnected_)
        return FT_DEVICE_NOT_FOUND;
    written_.push_back(QByteArray(data, int(length)));
    written = length;
    sendDueFrames(*u, now());
    answer(*u, written_.back());
    scheduleDelivery();
    return FT_OK;
}

void SimulatedAnalyser::answer(Unit &u, const QByteArray &frame)
{
    // A frame it cannot read (the bare "40 00" of a letter without a command included)
    // goes unanswered, as it does on the instrument.
    if (frame.size() < 4 || uint8_t(frame[0]) != 0x40)
        return;
    const int length = uint8_t(frame[1]) | uint8_t(frame[2]) << 8;
    if (frame.size() != length + 4 || length < 1 || CSUM(frame.mid(1, length + 2)) != frame.back())
        return;
    const QByteArray body = frame.mid(3, length);
    const int64_t at = now();
    if (!scriptedReplies_.empty()) {
        QByteArray reply = scriptedReplies_.front();
        scriptedReplies_.pop_front();
        transmit(u, reply, at, false);
        return;
    }
    const char letter = body[0];
    QByteArray reply(1, letter);
    switch (letter) {
    case 'I':
        if (u.config.identity.empty())
            return;
        reply = QByteArray::fromStdString(u.config.identity).leftJustified(21, ' ', true);
        break;
    case 'R':
        for (int i = 0; i < 2; ++i)
            reply.append(char(u.highVoltage & 0xFF)).append(char(u.highVoltage >> 8));
        break;
    case 'W':
        if (length >= 3)
            u.highVoltage = uint16_t(uint8_t(body[1]) | uint8_t(body[2]) << 8);
        break;
    case 'B':
        u.measuring = true;
        u.startedAt = at;
        u.nextFrameAt = at + kFramePeriodUs;
        u.measurements = 0;
        u.total.fill(0);
        break;
    case 'E': u.measuring = false; break;
    case 'D':
        reply = dataBody(u.total, u.measurements,
                         uint16_t(std::min<int64_t>((u.measuring ? at - u.startedAt : 0) / 1'000'000, 65535)));
        break;
    default: return;
    }
    transmit(u, MakeFrame(reply), at, false);
}

void SimulatedAnalyser::transmit(Unit &u, QByteArray frame, int64_t at, bool data)
{
    const Fault fault = faults_.empty() ? Fault::InPieces : faults_.front();
    const bool faulty = !faults_.empty();
    if (faulty)
        faults_.pop_front();
    if (keepSent_) {
        sent_.push_back({frame, data, faulty ? std::optional<Fault>(fault) : std::nullopt});
        if (faulty && fault == Fault::NoReply)
            sent_.back().fate = SentFrame::Fate::Lost;
    }
    if (faulty) {
        switch (fault) {
        case Fault::NoReply: return;
        case Fault::DropByte: frame.remove(frame.size() / 2, 1); break;
        case Fault::ExtraByte: frame.insert(frame.size() / 2, char(0x40)); break;
        case Fault::WrongChecksum: frame.back() = char(frame.back() ^ 0x5A); break;
        case Fault::WrongStartByte: frame[0] = 0x41; break;
        case Fault::InPieces:
            for (int i = 0, piece = 0; i < frame.size(); i += 7, ++piece)
                queue(u, {at + piece * kPieceGapUs, frame.mid(i, 7)});
            if (keepSent_)
                u.unread.push_back({sent_.size() - 1, u.queuedBytes - frame.size(), u.queuedBytes});
            return;
        }
    }
    queue(u, {at, frame});
    if (keepSent_)
        u.unread.push_back({sent_.size() - 1, u.queuedBytes - frame.size(), u.queuedBytes});
}

void SimulatedAnalyser::queue(Unit &u, Chunk chunk)
{
    u.queuedBytes += chunk.bytes.size();
    u.line.push_back(std::move(chunk));
}

// What is on its way or delivered and not read is gone, as in a bridge closed or replugged.
void SimulatedAnalyser::clearLine(Unit &u)
{
    u.line.clear();
    u.arrived.clear();
    for (const Unit::Unread &frame : u.unread)
        sent_[frame.index].fate = SentFrame::Fate::Lost;
    u.unread.clear();
    u.readBytes = u.queuedBytes;
}

std::array<uint32_t, SimulatedAnalyser::kChannels> SimulatedAnalyser::countFrame(int64_t at)
{
    // Independent Poisson counts per channel are the same as a Poisson total spread over
    // the channels by the shape; the latter needs a few dozen draws instead of 254.
    std::array<uint32_t, kChannels> counts{};
    const int total = std::poisson_distribution<int>(MeanCountsAt(at))(random_);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (int i = 0; i < total; ++i) {
        const auto k = std::upper_bound(shapeCdf_.begin(), shapeCdf_.end(), uniform(random_)) - shapeCdf_.begin();
        ++counts[std::min<std::ptrdiff_t>(k, kChannels - 1)];
    }
    return counts;
}

QByteArray SimulatedAnalyser::dataBody(const std::array<uint32_t, kChannels> &counts, uint8_t measurements,
                                       uint16_t seconds) const
{
    QByteArray body;
    body.reserve(513);
    body.append('D').append(char(measurements)).append(char(seconds & 0xFF)).append(char(seconds >> 8));
    for (uint32_t c : counts) {
        const uint32_t v = std::min<uint32_t>(c, 0xFFFF);
        body.append(char(v & 0xFF)).append(char(v >> 8));
    }
    body.append('\0');
    return body;
}

void SimulatedAnalyser::sendDueFrames(Unit &u, int64_t upTo)
{
    while (u.measuring && u.nextFrameAt <= upTo) {
        const auto counts = countFrame(u.nextFrameAt);
        for (int k = 0; k < kChannels; ++k)
            u.total[k] += counts[k];
        ++u.measurements;
        ++framesSent_;
        transmit(u, MakeFrame(dataBody(counts, u.measurements, 2)), u.nextFrameAt, true);
        u.nextFrameAt += kFramePeriodUs;
    }
}

int64_t SimulatedAnalyser::onWire(const Chunk &c, int64_t at) const
{
    const int64_t from = std::max(c.at, stalledUntil_);
    if (at < from)
        return 0;
    if (pace_ == Pace::Fast)
        return c.bytes.size();
    return std::min<int64_t>((at - from) * kBaud / (kBitsPerByte * 1'000'000), c.bytes.size());
}

int64_t SimulatedAnalyser::nextDeliveryAt(const Unit &u, int64_t after) const
{
    if (!u.line.empty()) {
        const Chunk &c = u.line.front();
        const int64_t from = std::max(c.at, stalledUntil_);
        if (pace_ == Pace::Fast)
            return std::max(from, after);
        // Rounded up: at that moment the byte is wholly on the wire.
        const int64_t nextByte = from + ((c.taken + 1) * kBitsPerByte * 1'000'000 + kBaud - 1) / kBaud;
        return std::max({nextByte, lastDelivery_ + kLatencyUs, after});
    }
    return u.measuring ? std::max({u.nextFrameAt, stalledUntil_, after}) : INT64_MAX;
}

void SimulatedAnalyser::scheduleDelivery()
{
    const Unit *u = openUnit();
    const int64_t t = now();
    const int64_t at = u ? nextDeliveryAt(*u, t) : INT64_MAX;
    if (delivery_ && deliveryAt_ <= at)
        return;
    if (delivery_)
        programClock().cancel(std::exchange(delivery_, 0));
    if (at == INT64_MAX)
        return;
    deliveryAt_ = at;
    delivery_ = programClock().schedule(at - t, [this] {
        delivery_ = 0;
        deliver();
    });
}

void SimulatedAnalyser::deliver()
{
    Unit *u = openUnit();
    if (!u)
        return;
    const int64_t t = now();
    sendDueFrames(*u, t);
    bool moved = false;
    while (!u->line.empty()) {
        Chunk &c = u->line.front();
        const int64_t n = onWire(c, t) - c.taken;
        if (n > 0) {
            u->arrived.append(c.bytes.constData() + c.taken, int(n));
            c.taken += n;
            moved = true;
        }
        if (c.taken < c.bytes.size())
            break;
        u->line.pop_front();
    }
    if (moved)
        lastDelivery_ = t;
    scheduleDelivery();
    if (moved)
        announceArrival();
}

FtStatus SimulatedAnalyser::read(FtHandle handle, char *buffer, uint32_t wanted, uint32_t &returned)
{
    ++readCalls_;
    returned = 0;
    Unit *u = unit(handle);
    if (!u)
        return FT_INVALID_HANDLE;
    if (disconnected_)
        return FT_DEVICE_NOT_FOUND;
    returned = std::min<uint32_t>(wanted, uint32_t(u->arrived.size()));
    std::copy_n(u->arrived.constData(), returned, buffer);
    u->arrived.remove(0, int(returned));
    u->readBytes += returned;
    while (!u->unread.empty() && u->unread.front().end <= u->readBytes) {
        sent_[u->unread.front().index].fate = SentFrame::Fate::Read;
        u->unread.pop_front();
    }
    return FT_OK;
}

} // namespace pxr3
