#pragma once
// The fixed points where long work lets pending window events run. The program installs
// the event loop's processing; tests install their own hook to act "during" a wait.

#include <functional>

namespace pxr3 {

using EventHook = std::function<void()>;

// Runs the pending events through the installed hook (by default the application's loop).
void LetEventsRun();

// Replaces the hook; an empty hook restores the default. Returns the previous one.
EventHook SetEventHook(EventHook hook);

} // namespace pxr3
