#include "core/WorkCommands.h"

namespace pxr3 {

WorkCommands &workCommands()
{
    static WorkCommands commands;
    return commands;
}

} // namespace pxr3
