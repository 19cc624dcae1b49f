#include "bench/BenchSupport.h"

#include "core/ProgramFolder.h"
#include "devicelink/USB_KOM.h"

#include <QFile>
#include <chrono>
#include <random>
#include <time.h>

namespace pxr3::bench {

ProgramFolderScope::ProgramFolderScope() : previousSink_(SetMessageSink([](const UserMessage &) { return false; }))
{
    SetProgramFolder(folder_.path());
}

ProgramFolderScope::~ProgramFolderScope() { SetMessageSink(previousSink_); }

std::vector<QByteArray> DataFrames(int count)
{
    constexpr int kChannels = 254;
    std::mt19937 random(3);
    std::poisson_distribution<int> counts(6.0);
    std::vector<QByteArray> frames;
    for (int f = 0; f < count; ++f) {
        QByteArray body("D");
        body.append(char(f % 250 + 1)).append(char(2)).append(char(0)); // measurement number, 2 s
        for (int k = 0; k < kChannels; ++k) {
            const int n = counts(random);
            body.append(char(n & 0xFF)).append(char(n >> 8));
        }
        body.append(char(0));
        frames.push_back(MakeFrame(body));
    }
    return frames;
}

double ThreadProcessorSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double WallSeconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace pxr3::bench
