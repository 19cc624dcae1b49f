// The program's answers that need no window, asked as from a shell with no display at all.

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

struct Answer {
    QProcess::ExitStatus status;
    int exitCode;
    QString out;
    QString err;
};

Answer AskWithoutDisplay(const QString &option)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PXR3_EXECUTABLE), {option});
    program.waitForFinished(-1);
    return {program.exitStatus(), program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

TEST(CommandLine, HelpVersionAndABadOptionAreAnsweredWithoutADisplay)
{
    const Answer help = AskWithoutDisplay(QStringLiteral("--help"));
    ASSERT_EQ(help.status, QProcess::NormalExit) << help.err.toStdString();
    EXPECT_EQ(help.exitCode, 0);
    for (const char *option : {"--simulate", "--port", "--data-dir", "--debug-link", "--headless", "--cycles", "--time",
                               "--log-data", "--mqtt", "--mqtt-user", "--mqtt-password-file", "--mqtt-ca", "--station",
                               "--version"})
        EXPECT_TRUE(help.out.contains(QString::fromLatin1(option))) << option;

    const Answer version = AskWithoutDisplay(QStringLiteral("--version"));
    ASSERT_EQ(version.status, QProcess::NormalExit) << version.err.toStdString();
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("pxr3 " PXR3_VERSION "\n"));

    const Answer bad = AskWithoutDisplay(QStringLiteral("--no-such-option"));
    ASSERT_EQ(bad.status, QProcess::NormalExit) << bad.err.toStdString();
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("no-such-option"))) << bad.err.toStdString();
}

} // namespace
