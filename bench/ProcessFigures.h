#pragma once
// What a process has used so far, read from the kernel: shared by the benchmarks and the
// first-paint probe (bench/FirstPaintProbe.cpp), which has none of the program in it.

namespace pxr3::bench {

double ResidentMegabytes(); // VmRSS
double ProcessorSeconds();  // user + system time of the process so far

} // namespace pxr3::bench
