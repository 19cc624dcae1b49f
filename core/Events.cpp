#include "core/Events.h"

#include <QCoreApplication>

namespace pxr3 {

namespace {
EventHook &hook()
{
    static EventHook installed;
    return installed;
}
} // namespace

void LetEventsRun()
{
    if (hook())
        hook()();
    else if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

EventHook SetEventHook(EventHook next)
{
    EventHook previous = std::move(hook());
    hook() = std::move(next);
    return previous;
}

} // namespace pxr3
