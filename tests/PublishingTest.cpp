// What the station publishes, apart from the broker: the command line that names the broker,
// the queue on disk that keeps cycles through a broker's absence and a restart, and the message
// of a cycle whose numbers have no activity to tell.

#include "TestSupport.h"
#include "core/CommLog.h"
#include "core/CommandLine.h"
#include "records/CycleMessage.h"
#include "records/PublishQueue.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace pxr3::test {
namespace {

CommandLine Parse(QStringList arguments)
{
    arguments.prepend(QStringLiteral("pxr3"));
    return ParseCommandLine(arguments);
}

TEST(BrokerOptions, TheUrlPasswordFileAndStationNameAreReadOrRefusedWithAReason)
{
    QTemporaryDir folder;
    QFile secret(folder.filePath(QStringLiteral("heslo")));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("tajné heslo\r\nsecond line\n");
    secret.close();

    const CommandLine tls =
        Parse({QStringLiteral("--mqtt"), QStringLiteral("mqtts://broker.example"), QStringLiteral("--mqtt-user"),
               QStringLiteral("stanice"), QStringLiteral("--mqtt-password-file"), secret.fileName(),
               QStringLiteral("--station"), QStringLiteral("sklep/1 #a")});
    ASSERT_TRUE(tls.error.isEmpty()) << qPrintable(tls.error);
    EXPECT_EQ(tls.mqtt.host, QStringLiteral("broker.example"));
    EXPECT_EQ(tls.mqtt.port, 8883);
    EXPECT_TRUE(tls.mqtt.tls);
    EXPECT_EQ(tls.mqtt.password, QStringLiteral("tajné heslo"));
    EXPECT_EQ(tls.mqtt.station, QStringLiteral("sklep_1 _a")) << "a topic level of its own";

    const CommandLine plain = Parse({QStringLiteral("--mqtt"), QStringLiteral("mqtt://127.0.0.1:18830"),
                                     QStringLiteral("--mqtt-ca"), folder.filePath(QStringLiteral("ca.pem"))});
    ASSERT_TRUE(plain.error.isEmpty()) << qPrintable(plain.error);
    EXPECT_EQ(plain.mqtt.port, 18830);
    EXPECT_TRUE(plain.mqtt.tls) << "a CA asks for TLS";
    EXPECT_FALSE(plain.mqtt.station.isEmpty()) << "the host name stands in";

    for (const QStringList &bad :
         {QStringList{QStringLiteral("--mqtt"), QStringLiteral("http://broker")},
          QStringList{QStringLiteral("--mqtt"), QStringLiteral("broker:1883")},
          QStringList{QStringLiteral("--mqtt"), QStringLiteral("mqtt://user:pw@broker")},
          QStringList{QStringLiteral("--mqtt"), QStringLiteral("mqtt://broker/topic")},
          QStringList{QStringLiteral("--mqtt"), QStringLiteral("mqtt://broker"), QStringLiteral("--mqtt-password-file"),
                      folder.filePath(QStringLiteral("none"))},
          QStringList{QStringLiteral("--station"), QStringLiteral("bez-brokeru")}})
        EXPECT_FALSE(Parse(bad).error.isEmpty()) << qPrintable(bad.join(' '));
}

class PublishQueueTest : public ProgramFolderFixture {
protected:
    QString queuePath() const { return path(QStringLiteral("fronta.txt")); }
    static QByteArray Cycle(int k) { return QStringLiteral("{\"cycle\":%1}").arg(k).toUtf8(); }
};

TEST_F(PublishQueueTest, KeepsItsOrderThroughARestartAndDropsOnlyWhatTheBrokerTook)
{
    {
        PublishQueue queue(queuePath());
        for (int k = 1; k <= 4; ++k)
            queue.push(Cycle(k));
        queue.dropFront(1); // taken by the broker; the file is not yet written anew
    }
    // A power failure cut the last append short.
    QFile file(queuePath());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("{\"cycle\":5");
    file.close();

    PublishQueue again(queuePath());
    again.load();
    ASSERT_EQ(again.size(), 4) << "the acknowledgement was not saved: cycle 1 goes again, the torn line not";
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(again.at(i), Cycle(i + 1));
    EXPECT_TRUE(commLog().text().contains(QStringLiteral("1 poškozených řádků"))) << qPrintable(commLog().text());

    again.dropFront(2);
    ASSERT_TRUE(again.save());
    PublishQueue third(queuePath());
    third.load();
    ASSERT_EQ(third.size(), 2);
    EXPECT_EQ(third.at(0), Cycle(3));

    third.dropFront(2);
    ASSERT_TRUE(third.save());
    EXPECT_FALSE(QFile::exists(queuePath())) << "an empty queue leaves no file";
}

TEST_F(PublishQueueTest, PastItsCapacityTheOldestIsDroppedAndLogged)
{
    PublishQueue queue(queuePath(), 3);
    for (int k = 1; k <= 5; ++k)
        queue.push(Cycle(k));
    ASSERT_EQ(queue.size(), 3);
    EXPECT_EQ(queue.at(0), Cycle(3));
    EXPECT_TRUE(commLog().text().contains(QStringLiteral("nejstarší zahozen: {\"cycle\":2}")))
        << qPrintable(commLog().text());
    PublishQueue reread(queuePath(), 3);
    reread.load();
    ASSERT_EQ(reread.size(), 3) << "the file holds what memory holds";
    EXPECT_EQ(reread.at(2), Cycle(5));
}

TEST(CycleMessageTest, WithoutATimeOrAnAppliedFactorItTellsNoRateOrNoActivity)
{
    CycleReport report;
    report.counts = 430;
    report.seconds = 10;
    report.calFactor = 1; // "not applied", as on the screen
    report.start = QDateTime(QDate(2026, 12, 10), QTime(5, 17, 26), Qt::OffsetFromUTC, 3600);
    report.end = report.start.addSecs(10);
    const QJsonObject m = QJsonDocument::fromJson(CycleMessage(report, QStringLiteral("st"))).object();
    EXPECT_DOUBLE_EQ(m.value(QStringLiteral("rate")).toDouble(), 43.0);
    EXPECT_TRUE(m.value(QStringLiteral("activity")).isNull());
    EXPECT_TRUE(m.value(QStringLiteral("detected")).isNull());
    EXPECT_EQ(m.value(QStringLiteral("start")).toString(), QStringLiteral("2026-12-10T05:17:26+01:00"));

    report.seconds = 0;
    const QJsonObject none = QJsonDocument::fromJson(CycleMessage(report, QStringLiteral("st"))).object();
    EXPECT_TRUE(none.value(QStringLiteral("rate")).isNull());
    EXPECT_EQ(none.value(QStringLiteral("counts")).toInt(), 430);
}

} // namespace
} // namespace pxr3::test
