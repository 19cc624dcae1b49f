#pragma once
// Shared by the link's own modules only: the installed hooks and the busy guard.

#include "devicelink/LinkHooks.h"

namespace pxr3 {

const LinkHooks &linkHooks();

// Marks the link busy for its lifetime: window events run inside its waits, and a handler
// that starts another link operation then must not interleave its frames with ours.
class LinkOperation {
public:
    LinkOperation();
    ~LinkOperation();
    LinkOperation(const LinkOperation &) = delete;
    LinkOperation &operator=(const LinkOperation &) = delete;
};

} // namespace pxr3
