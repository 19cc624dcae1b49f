#include "core/WorkCommands.h"

#include <QCoreApplication>

namespace pxr3 {

WorkCommands &workCommands()
{
    static WorkCommands commands;
    return commands;
}

QString UnavailableCommandText() { return QCoreApplication::translate("WorkCommands", kUnavailableCommand); }

} // namespace pxr3
