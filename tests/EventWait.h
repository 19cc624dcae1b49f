#pragma once
// Waiting in the event loop for what other processes do: woken by the events that may change
// the condition (their output, their exit, a file's change), never by a poll.

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <functional>

namespace pxr3::test {

// False when the limit passed before the condition held.
inline bool WaitFor(const std::function<bool()> &condition, std::chrono::milliseconds limit)
{
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(limit);
    while (!condition()) {
        if (!deadline.isActive())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace pxr3::test
