// Plays the simulated analyser on a pseudo-terminal at the wire's pace, for trying the
// program's serial-port path by hand: pxr3 --port <the path printed>.

#include "PtyAnalyser.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    pxr3::test::PtyAnalyser analyser;
    if (!analyser.ready()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    std::printf("%s\n", qPrintable(analyser.portPath()));
    std::fflush(stdout);
    return app.exec();
}
