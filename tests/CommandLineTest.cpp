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

// `locale`: the user's, as LC_ALL gives it; empty: the test's own.
Answer AskWithoutDisplay(const QStringList &options, const QString &locale = QString())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    if (!locale.isEmpty())
        environment.insert(QStringLiteral("LC_ALL"), locale);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PXR3_EXECUTABLE), options);
    program.waitForFinished(-1);
    return {program.exitStatus(), program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError())};
}

TEST(CommandLine, HelpVersionAndABadOptionAreAnsweredWithoutADisplay)
{
    const Answer help = AskWithoutDisplay({QStringLiteral("--help")});
    ASSERT_EQ(help.status, QProcess::NormalExit) << help.err.toStdString();
    EXPECT_EQ(help.exitCode, 0);
    for (const char *option :
         {"--simulate", "--port", "--data-dir", "--debug-link", "--headless", "--cycles", "--time", "--log-data",
          "--mqtt", "--mqtt-user", "--mqtt-password-file", "--mqtt-ca", "--station", "--version"})
        EXPECT_TRUE(help.out.contains(QString::fromLatin1(option))) << option;

    const Answer version = AskWithoutDisplay({QStringLiteral("--version")});
    ASSERT_EQ(version.status, QProcess::NormalExit) << version.err.toStdString();
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("pxr3 " PXR3_VERSION "\n"));

    const Answer bad = AskWithoutDisplay({QStringLiteral("--no-such-option")});
    ASSERT_EQ(bad.status, QProcess::NormalExit) << bad.err.toStdString();
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("no-such-option"))) << bad.err.toStdString();
}

// Read before the program knows anything else, the help and the command line's errors still
// speak the language the windows would: the locale's, or the one --lang names.
TEST(CommandLine, TheHelpAndItsErrorsSpeakTheLanguageOfTheWindows)
{
    const QString english = QStringLiteral("en_GB.UTF-8");
    EXPECT_TRUE(
        AskWithoutDisplay({QStringLiteral("--help")}, english).out.contains(QStringLiteral("Shows this help.")));
    EXPECT_TRUE(AskWithoutDisplay({QStringLiteral("--help"), QStringLiteral("--lang"), QStringLiteral("cs")}, english)
                    .out.contains(QStringLiteral("Zobrazí tuto nápovědu.")));
    const Answer misplaced = AskWithoutDisplay(
        {QStringLiteral("--lang=en"), QStringLiteral("--cycles"), QStringLiteral("5")}, QStringLiteral("cs_CZ.UTF-8"));
    EXPECT_EQ(misplaced.exitCode, 2);
    EXPECT_TRUE(misplaced.err.contains(QStringLiteral("apply only with --headless"))) << misplaced.err.toStdString();
}

} // namespace
