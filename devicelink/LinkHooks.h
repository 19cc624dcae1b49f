#pragma once
// What the device link needs from the windows, and what it tells them. The communication
// window and the main window install the hooks; an empty hook means empty text / nothing.

#include <QString>
#include <functional>

namespace pxr3 {
struct LinkHooks {
    std::function<QString()> highVoltageText; // the high-voltage box the "W" command reads
    std::function<QString()> measureTimeText; // the time box the "B" command reads
    std::function<void()>
        deviceConnected; // an analyser identified itself: main status panel 1 "PXD3 připojena." and minimise the communication window
};
void SetLinkHooks(LinkHooks hooks);
bool LinkBusy(); // a read or write is in progress (re-entrancy guard)

// True when an operation is in progress; the refused call then reports failure in
// CommandOk and on the status line.
bool RefuseWhenBusy();

extern const char *const kBusyText;
} // namespace pxr3
