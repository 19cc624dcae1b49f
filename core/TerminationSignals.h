#pragma once
// SIGTERM, SIGINT and SIGHUP (a shutdown, Ctrl+C, a closed terminal) end the program through
// its event loop like its own quit, so that the night's record is written to the end.

#include <functional>

namespace pxr3 {

// The handler runs on the event loop's thread, once per signal received.
void OnTerminationSignal(std::function<void(int signal)> handler);

} // namespace pxr3
