// The broker the station's tests run against: what they take from it holds, so that their
// failures are the program's. A restart keeps the port, the retained messages and the QoS 1
// messages queued for a persistent subscriber that was away.

#include "MosquittoBroker.h"
#include "MosquittoSubscriber.h"

#include <gtest/gtest.h>

namespace pxr3::test {
namespace {

bool Publish(quint16 port, const QString &topic, const QString &payload, bool retain)
{
    QStringList arguments{QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                          QStringLiteral("-p"), QString::number(port),
                          QStringLiteral("-q"), QStringLiteral("1"),
                          QStringLiteral("-t"), topic,
                          QStringLiteral("-m"), payload};
    if (retain)
        arguments << QStringLiteral("-r");
    QProcess publisher;
    publisher.start(QStringLiteral("/usr/bin/mosquitto_pub"), arguments);
    return publisher.waitForFinished() && publisher.exitStatus() == QProcess::NormalExit && publisher.exitCode() == 0;
}

TEST(MosquittoHarness, ARestartOnTheSamePortKeepsRetainedAndQueuedMessages)
{
    MosquittoBroker broker;
    if (!broker.start())
        GTEST_SKIP() << "no Mosquitto broker to test against: " << qPrintable(broker.error());
    const QString status = QStringLiteral("pxr3/harness/status");
    const QString cycle = QStringLiteral("pxr3/harness/cycle");
    ASSERT_TRUE(Publish(broker.port(), status, QStringLiteral("online"), true));
    {
        MosquittoSubscriber away(broker.port(), QStringLiteral("pxr3/#"), QStringLiteral("harness-away"));
        ASSERT_TRUE(away.start()) << qPrintable(away.error());
        ASSERT_TRUE(away.flush()) << qPrintable(away.error());
        ASSERT_EQ(away.messages(status).size(), 1);
        EXPECT_TRUE(away.messages(status)[0].retained);
        EXPECT_EQ(away.messages(status)[0].payload, "online");
    }
    ASSERT_TRUE(Publish(broker.port(), cycle, QStringLiteral("queued while away"), false));

    ASSERT_TRUE(broker.stop()) << qPrintable(broker.error());
    ASSERT_TRUE(broker.start()) << qPrintable(broker.error()) << qPrintable(broker.log());

    MosquittoSubscriber back(broker.port(), QStringLiteral("pxr3/#"), QStringLiteral("harness-away"));
    ASSERT_TRUE(back.start()) << qPrintable(back.error());
    ASSERT_TRUE(back.flush()) << qPrintable(back.error());
    ASSERT_EQ(back.messages(cycle).size(), 1) << qPrintable(broker.log());
    EXPECT_EQ(back.messages(cycle)[0].payload, "queued while away");
    EXPECT_FALSE(back.messages(cycle)[0].retained);
    ASSERT_EQ(back.messages(status).size(), 1);
    EXPECT_TRUE(back.messages(status)[0].retained);
}

} // namespace
} // namespace pxr3::test
