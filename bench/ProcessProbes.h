#pragma once
// Figures taken in a process of their own, started by the benchmark from this executable: the
// start-up against a bare Qt Widgets window, and the whole program on a serial port with its
// windows on a real display. Each probe prints its figures on one line and ends.
//
// The start-up probes run the program (build/pxr3) and the bare window (pxr3-bare-window) in a
// process of their own with libpxr3-first-paint.so preloaded, so that neither carries what the
// other links; to profile one, follow the child: valgrind --trace-children=yes.

namespace pxr3::bench {

// Runs the probe `argv[1]` names ("--probe-start-program", "--probe-start-bare",
// "--probe-port PATH measuring|idle"); -1 when argv names none.
int RunProbe(int argc, char *argv[]);

} // namespace pxr3::bench
