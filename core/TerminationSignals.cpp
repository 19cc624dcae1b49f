#include "core/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace pxr3 {

namespace {
int pipeEnds[2] = {-1, -1};

// Only what is safe in a signal handler: the signal's number into the pipe.
void note(int signal)
{
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
}
} // namespace

void OnTerminationSignal(std::function<void(int signal)> handler)
{
    if (pipeEnds[0] < 0) {
        if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        struct sigaction action { };
        action.sa_handler = note;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int signal : {SIGTERM, SIGINT, SIGHUP})
            sigaction(signal, &action, nullptr);
    }
    auto *notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [handler = std::move(handler)] {
        unsigned char number = 0;
        while (::read(pipeEnds[0], &number, 1) == 1)
            handler(number);
    });
}

} // namespace pxr3
