// Plays the simulated analyser on a pseudo-terminal at the wire's pace, for trying the
// program's serial-port path by hand: pxr3 --port <the path printed>. With --link PATH the
// port is also reached under PATH, which stays the same when the analyser is started again.

#include "PtyAnalyser.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const qsizetype link = args.indexOf(QStringLiteral("--link"));
    if (link > 0 && link + 1 >= args.size()) {
        std::fprintf(stderr, "usage: pxr3-pty-analyser [--link PATH]\n");
        return 2;
    }
    pxr3::test::PtyAnalyser analyser(pxr3::SimulatedAnalyser::Pace::RealTime, link > 0 ? args[link + 1] : QString());
    if (!analyser.ready()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    std::printf("%s\n", qPrintable(analyser.portPath()));
    std::fflush(stdout);
    return app.exec();
}
