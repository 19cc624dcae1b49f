#pragma once
// What the benchmarks share: a throw-away program folder, ready-made data frames and the
// process's own use of memory and processor time.

#include "bench/ProcessFigures.h"
#include "core/UserMessages.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <cstdint>
#include <vector>

namespace pxr3::bench {

// The program's files (DATA_LOG.TXT, settings, spectra) go to a temporary folder for the
// scope; messages the program would show are dropped, as nobody is there to answer them.
class ProgramFolderScope {
public:
    ProgramFolderScope();
    ~ProgramFolderScope();
    ProgramFolderScope(const ProgramFolderScope &) = delete;
    ProgramFolderScope &operator=(const ProgramFolderScope &) = delete;

private:
    QTemporaryDir folder_;
    MessageSink previousSink_;
};

// Good 517-byte data frames of a 2 s measurement with a few counts in every channel, each
// one different.
std::vector<QByteArray> DataFrames(int count);

double ThreadProcessorSeconds(); // this thread's processor time: the event loop's work
double WallSeconds();            // monotonic

} // namespace pxr3::bench
