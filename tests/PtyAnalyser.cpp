#include "PtyAnalyser.h"

#include <QFile>
#include <QSocketNotifier>
#include <fcntl.h>
#include <unistd.h>

namespace pxr3::test {

PtyAnalyser::PtyAnalyser(SimulatedAnalyser::Pace pace, const QString &linkPath) : analyser_(pace, 5)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        if (master >= 0)
            ::close(master);
        return;
    }
    master_ = master;
    path_ = QString::fromLocal8Bit(ptsname(master_));
    if (!linkPath.isEmpty()) {
        QFile::remove(linkPath);
        if (!QFile::link(path_, linkPath)) {
            ::close(master_);
            master_ = -1;
            return;
        }
        linkPath_ = linkPath;
    }
    // Held open so that the program closing and reopening the port is not a hang-up here.
    slave_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    analyser_.openBySerial(SimulatedAnalyser::Analyser().serial, handle_);
    analyser_.setArrivalHandler([this] { speak(); });
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { hear(); });
}

PtyAnalyser::~PtyAnalyser()
{
    analyser_.setArrivalHandler(nullptr);
    if (!linkPath_.isEmpty())
        QFile::remove(linkPath_); // the port is gone, as an unplugged bridge's is
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

void PtyAnalyser::hear()
{
    char buffer[512];
    ssize_t n;
    while ((n = ::read(master_, buffer, sizeof buffer)) > 0)
        heard_.append(buffer, int(n));
    // The analyser answers frames, so it is handed whole ones; the bare "40 00" of a letter
    // without a command has no length high byte.
    while (heard_.size() >= 2) {
        if (uint8_t(heard_[0]) != 0x40) {
            heard_.remove(0, 1);
            continue;
        }
        if (heard_[1] == 0 && (heard_.size() == 2 || uint8_t(heard_[2]) == 0x40)) {
            heard_.remove(0, 2);
            continue;
        }
        if (heard_.size() < 3)
            break;
        const int length = (uint8_t(heard_[1]) | uint8_t(heard_[2]) << 8) + 4;
        if (heard_.size() < length)
            break;
        uint32_t written = 0;
        analyser_.write(handle_, heard_.constData(), uint32_t(length), written);
        heard_.remove(0, length);
    }
}

void PtyAnalyser::speak()
{
    char buffer[1024];
    uint32_t n = 0;
    while (analyser_.read(handle_, buffer, sizeof buffer, n) == FT_OK && n > 0)
        if (::write(master_, buffer, n) < 0)
            return;
}

} // namespace pxr3::test
