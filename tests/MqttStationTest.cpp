// The built program as a station publishing to a real Mosquitto broker: its cycles against the
// autosave's rows worked by hand, its retained status and Last Will, a broker away for a cycle
// and a stop by SIGTERM.

#include "EventWait.h"
#include "MosquittoBroker.h"
#include "MosquittoSubscriber.h"
#include "StationTestSupport.h"
#include "TestSupport.h"
#include "core/SharedState.h"
#include "records/MeasurementTable.h"
#include "records/SettingsFiles.h"
#include "records/TableFile.h"

#include <gmock/gmock.h>

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <cmath>
#include <csignal>
#include <limits>
#include <memory>
#include <optional>
#include <string>

namespace pxr3::test {
namespace {

using namespace std::chrono_literals;

constexpr char kStation[] = "test-st";
const QString kStatusTopic = QStringLiteral("pxr3/test-st/status");
const QString kCycleTopic = QStringLiteral("pxr3/test-st/cycle");
const QString kQueueFile = QStringLiteral("MQTT_FRONTA.TXT");
// Cycles of 4 s and a reconnection pausing up to 8 s fit well inside.
constexpr auto kRunLimit = 60s;

QProcessEnvironment WithoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

// The program as a headless station on the simulated analyser, or with its windows on the
// offscreen platform, its output gathered as it comes.
class StationProgram {
public:
    enum Face { Headless, Windows };
    StationProgram(const QString &folder, const QString &brokerUrl, const QStringList &arguments, Face face = Headless)
    {
        QProcessEnvironment environment = WithoutDisplay();
        if (face == Windows)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process_.setProcessEnvironment(environment);
        QObject::connect(&process_, &QProcess::readyReadStandardOutput,
                         [this] { out_ += process_.readAllStandardOutput(); });
        QObject::connect(&process_, &QProcess::readyReadStandardError,
                         [this] { err_ += process_.readAllStandardError(); });
        process_.start(QStringLiteral(PXR3_EXECUTABLE),
                       QStringList{face == Headless ? QStringLiteral("--headless") : QStringLiteral("--lang=cs"),
                                   QStringLiteral("--simulate"), QStringLiteral("--data-dir"), folder,
                                   QStringLiteral("--mqtt"), brokerUrl, QStringLiteral("--station"),
                                   QString::fromLatin1(kStation)} +
                           arguments);
    }
    ~StationProgram()
    {
        if (!finished()) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    QStringList lines() const { return QString::fromUtf8(out_).split('\n', Qt::SkipEmptyParts); }
    bool finished() const { return process_.state() == QProcess::NotRunning; }
    bool waitForExit()
    {
        return WaitFor([this] { return finished(); }, kRunLimit);
    }
    void signal(int number) const { ::kill(pid_t(process_.processId()), number); }
    bool exitedWith(int code) const
    {
        return finished() && process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == code;
    }
    // For a failure's message: how it ended and what it said on stderr.
    std::string report() const
    {
        const QString end = !finished()                     ? QStringLiteral("still running")
            : process_.exitStatus() == QProcess::NormalExit ? QStringLiteral("exit code %1").arg(process_.exitCode())
                                                            : QStringLiteral("crashed");
        return (end + QStringLiteral(", stderr:\n") + QString::fromUtf8(err_)).toStdString();
    }

private:
    QProcess process_;
    QByteArray out_;
    QByteArray err_;
};

QList<QJsonObject> Payloads(const QList<MqttMessage> &messages)
{
    QList<QJsonObject> objects;
    for (const MqttMessage &m : messages) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(m.payload, &error);
        EXPECT_TRUE(document.isObject()) << m.payload.constData() << ": " << qPrintable(error.errorString());
        objects << document.object();
    }
    return objects;
}

QList<int> CycleNumbers(const QList<QJsonObject> &cycles)
{
    QList<int> numbers;
    for (const QJsonObject &c : cycles)
        numbers << c[QStringLiteral("cycle")].toInt(-1);
    return numbers;
}

QString OnlyAutosave(const QString &folder)
{
    const QDir data(folder + QStringLiteral("/DATA"));
    const QStringList saves = data.entryList({QStringLiteral("serie_*.dat")}, QDir::Files);
    return saves.size() == 1 ? data.filePath(saves[0]) : QString();
}

// A field's text, comparable and printable in an assertion.
std::string Text(const QJsonObject &message, const char *field)
{
    return message[QLatin1String(field)].toString().toStdString();
}

// A JSON true or false; nothing for any other value.
std::optional<bool> Flag(const QJsonObject &message, const char *field)
{
    const QJsonValue value = message[QLatin1String(field)];
    return value.isBool() ? std::optional<bool>(value.toBool()) : std::nullopt;
}

// Equal as JSON doubles at full precision: to the last digits of a double worked another way.
void ExpectSameNumber(const QJsonObject &message, const char *field, double expected)
{
    const QJsonValue value = message[QLatin1String(field)];
    ASSERT_TRUE(value.isDouble()) << field;
    EXPECT_NEAR(value.toDouble(), expected, 1e-12 * std::abs(expected)) << field;
}

QDateTime IsoTimeWithOffset(const QJsonObject &message, const char *field)
{
    const QString text = message[QLatin1String(field)].toString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("T\\d\\d:\\d\\d:\\d\\d.*(Z|[+-]\\d\\d:?\\d\\d)$"))))
        << field << ": " << qPrintable(text);
    const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    EXPECT_TRUE(time.isValid()) << field << ": " << qPrintable(text);
    return time;
}

// A cycle's message against the row of the autosave it names, worked by hand from the row's
// counts and time with the set's background and calibration factor.
void ExpectMessageOfItsRow(const QJsonObject &message, const MeasurementTable &rows, const QString &autosave)
{
    const int row = message[QStringLiteral("row")].toInt(-1);
    ASSERT_GE(row, 1);
    ASSERT_FALSE(rows.text(row, 3).isEmpty()) << "row " << row << " is in the autosave";
    const int counts = rows.text(row, 3).toInt();
    const int seconds = rows.text(row, 4).toInt();
    EXPECT_EQ(message[QStringLiteral("counts")].toInt(-1), counts);
    EXPECT_EQ(message[QStringLiteral("time")].toInt(-1), seconds);
    EXPECT_EQ(Text(message, "station"), kStation);
    EXPECT_EQ(Text(message, "series"), QFileInfo(autosave).completeBaseName().toStdString());
    EXPECT_EQ(Text(message, "set"), kSetName);
    EXPECT_EQ(message[QStringLiteral("roi_left")].toInt(-1), 1);
    EXPECT_EQ(message[QStringLiteral("roi_right")].toInt(-1), 254);
    EXPECT_EQ(message[QStringLiteral("high_voltage")].toInt(-1), 500);
    EXPECT_EQ(Flag(message, "simulated"), std::optional<bool>(true));
    for (const char *count : {"failed_readings", "gap_seconds"})
        EXPECT_GE(message[QLatin1String(count)].toInt(-1), 0) << count;

    const HandWorked h = WorkByHand(counts, seconds);
    ExpectSameNumber(message, "rate", h.rate);
    ExpectSameNumber(message, "rate_u", h.rateU);
    ExpectSameNumber(message, "activity", h.activity);
    ExpectSameNumber(message, "activity_u", h.activityU);
    ExpectSameNumber(message, "threshold", h.threshold);
    ExpectSameNumber(message, "limit", h.limit);
    EXPECT_EQ(Flag(message, "detected"), std::optional<bool>(h.detected));

    const QDateTime start = IsoTimeWithOffset(message, "start");
    const QDateTime end = IsoTimeWithOffset(message, "end");
    EXPECT_LT(start, end);
}

void ExpectOnline(const QJsonObject &status)
{
    EXPECT_EQ(Text(status, "status"), "online");
    EXPECT_EQ(Text(status, "station"), kStation);
    EXPECT_EQ(Text(status, "version"), PXR3_VERSION);
    EXPECT_EQ(Text(status, "set"), kSetName);
    EXPECT_EQ(Flag(status, "simulated"), std::optional<bool>(true));
}

void ExpectOffline(const QJsonObject &status)
{
    EXPECT_EQ(Text(status, "status"), "offline");
    EXPECT_EQ(Text(status, "station"), kStation);
}

class MqttStation : public ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        if (!broker.start())
            GTEST_SKIP() << "no Mosquitto broker to test against: " << qPrintable(broker.error());
        ASSERT_TRUE(StoreRadonSet());
        // Persistent: what the station publishes while the broker restarts waits for it.
        subscriber = std::make_unique<MosquittoSubscriber>(broker.port(), QStringLiteral("pxr3/#"),
                                                           QStringLiteral("station-watcher"));
        ASSERT_TRUE(subscriber->start()) << qPrintable(subscriber->error());
    }

    StationProgram *startStation(const QStringList &arguments, StationProgram::Face face = StationProgram::Headless)
    {
        station = std::make_unique<StationProgram>(folder.path(), broker.url(), arguments, face);
        return station.get();
    }

    bool waitForCycleMessages(int count)
    {
        return WaitFor(
                   [this, count] { return subscriber->messages(kCycleTopic).size() >= count || station->finished(); },
                   kRunLimit) &&
            subscriber->messages(kCycleTopic).size() >= count;
    }

    bool lastStatusIs(const QString &status) const
    {
        const QList<QJsonObject> statuses = Payloads(subscriber->messages(kStatusTopic));
        return !statuses.isEmpty() && statuses.back()[QStringLiteral("status")].toString() == status;
    }

    // False as soon as the program ended without having said so.
    bool waitForOnline()
    {
        const QString online = QStringLiteral("online");
        return WaitFor([this, &online] { return lastStatusIs(online) || station->finished(); }, kRunLimit) &&
            lastStatusIs(online);
    }

    bool waitForOffline()
    {
        return WaitFor([this] { return lastStatusIs(QStringLiteral("offline")); }, kRunLimit);
    }

    // What a subscriber arriving now is given on the station's topics: the retained messages only.
    QList<MqttMessage> retainedFor(const QString &topic)
    {
        MosquittoSubscriber newcomer(broker.port(), QStringLiteral("pxr3/test-st/#"));
        EXPECT_TRUE(newcomer.start()) << qPrintable(newcomer.error());
        EXPECT_TRUE(newcomer.flush()) << qPrintable(newcomer.error());
        return newcomer.messages(topic);
    }

    // The series' one autosave, read into `rows`.
    QString readAutosave(MeasurementTable &rows)
    {
        const QString autosave = OnlyAutosave(folder.path());
        EXPECT_FALSE(autosave.isEmpty());
        EXPECT_TRUE(LoadTableFile(rows, autosave).ok);
        return autosave;
    }

    MosquittoBroker broker;
    std::unique_ptr<MosquittoSubscriber> subscriber;
    std::unique_ptr<StationProgram> station;
};

TEST_F(MqttStation, ThreeCyclesPublishTheAutosavesThreeRowsAndTheStatus)
{
    StationProgram *program =
        startStation({QStringLiteral("--cycles"), QStringLiteral("3"), QStringLiteral("--time"), QStringLiteral("4")});
    ASSERT_TRUE(waitForOnline()) << program->report();
    ASSERT_FALSE(program->finished()) << program->report();
    const QList<MqttMessage> online = retainedFor(kStatusTopic);
    ASSERT_EQ(online.size(), 1);
    EXPECT_TRUE(online[0].retained);
    ExpectOnline(Payloads(online)[0]);

    ASSERT_TRUE(program->waitForExit());
    ASSERT_TRUE(program->exitedWith(0)) << program->report();
    EXPECT_EQ(program->lines().size(), 3) << program->report();
    ASSERT_TRUE(subscriber->flush()) << qPrintable(subscriber->error());
    const QList<QJsonObject> cycles = Payloads(subscriber->messages(kCycleTopic));
    ASSERT_EQ(CycleNumbers(cycles), QList<int>({1, 2, 3}));
    MeasurementTable rows;
    const QString autosave = readAutosave(rows);
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(cycles[k - 1][QStringLiteral("row")].toInt(-1), k);
        EXPECT_EQ(cycles[k - 1][QStringLiteral("cycles")].toInt(-1), 3);
        ExpectMessageOfItsRow(cycles[k - 1], rows, autosave);
    }
    EXPECT_TRUE(rows.text(4, 3).isEmpty());

    const QList<MqttMessage> offline = retainedFor(kStatusTopic);
    ASSERT_EQ(offline.size(), 1);
    EXPECT_TRUE(offline[0].retained);
    ExpectOffline(Payloads(offline)[0]);
    EXPECT_TRUE(retainedFor(kCycleTopic).isEmpty()) << "a cycle is not retained";
}

TEST_F(MqttStation, TheWindowedProgramPublishesTooAndEndsOffline)
{
    StationProgram *program = startStation({}, StationProgram::Windows);
    ASSERT_TRUE(waitForOnline()) << program->report();
    program->signal(SIGTERM); // closes as its own quit does
    ASSERT_TRUE(program->waitForExit());
    EXPECT_TRUE(program->exitedWith(0)) << program->report();
    ASSERT_TRUE(waitForOffline());
    const QList<MqttMessage> offline = retainedFor(kStatusTopic);
    ASSERT_EQ(offline.size(), 1);
    ExpectOffline(Payloads(offline)[0]);
}

// The broker's certificate is checked: trusted through the given authority the station
// publishes; through another it refuses the broker and keeps the cycle in its queue.
TEST_F(MqttStation, OverTlsOnlyABrokerVouchedForByTheGivenAuthorityIsPublishedTo)
{
    ASSERT_TRUE(broker.stop());
    if (!broker.addTlsListener())
        GTEST_SKIP() << "no TLS listener to test against: " << qPrintable(broker.error());
    ASSERT_TRUE(broker.start()) << qPrintable(broker.error());
    ASSERT_TRUE(subscriber->flush()) << qPrintable(subscriber->error()); // back after the restart

    const QStringList oneCycle{QStringLiteral("--cycles"), QStringLiteral("1"), QStringLiteral("--time"),
                               QStringLiteral("2"), QStringLiteral("--mqtt-ca")};
    station =
        std::make_unique<StationProgram>(folder.path(), broker.tlsUrl(), oneCycle + QStringList{broker.authority()});
    ASSERT_TRUE(station->waitForExit());
    ASSERT_TRUE(station->exitedWith(0)) << station->report();
    ASSERT_TRUE(subscriber->flush()) << qPrintable(subscriber->error());
    EXPECT_EQ(CycleNumbers(Payloads(subscriber->messages(kCycleTopic))), QList<int>({1})) << station->report();

    const QString other = broker.otherAuthority();
    ASSERT_FALSE(other.isEmpty()) << qPrintable(broker.error());
    station = std::make_unique<StationProgram>(folder.path(), broker.tlsUrl(), oneCycle + QStringList{other});
    ASSERT_TRUE(station->waitForExit());
    ASSERT_TRUE(station->exitedWith(0)) << station->report();
    ASSERT_TRUE(subscriber->flush()) << qPrintable(subscriber->error());
    EXPECT_EQ(subscriber->messages(kCycleTopic).size(), 1) << "nothing through an untrusted broker";
    EXPECT_THAT(station->report(), ::testing::HasSubstr("nedostupný"));
    const QList<QByteArray> queued = FileBytes(path(kQueueFile)).trimmed().split('\n');
    ASSERT_EQ(queued.size(), 1) << "the cycle waits for a broker it can trust";
    EXPECT_EQ(QJsonDocument::fromJson(queued[0]).object()[QStringLiteral("cycle")].toInt(), 1);
}

TEST_F(MqttStation, AKilledStationIsReportedOfflineByItsLastWill)
{
    StationProgram *program =
        startStation({QStringLiteral("--cycles"), QStringLiteral("0"), QStringLiteral("--time"), QStringLiteral("4")});
    ASSERT_TRUE(waitForOnline()) << program->report();
    program->signal(SIGKILL);
    ASSERT_TRUE(program->waitForExit());
    // The killed process's socket closes with it: the broker sends the will at once.
    ASSERT_TRUE(waitForOffline());
    const QList<MqttMessage> offline = retainedFor(kStatusTopic);
    ASSERT_EQ(offline.size(), 1);
    EXPECT_TRUE(offline[0].retained);
    ExpectOffline(Payloads(offline)[0]);
}

TEST_F(MqttStation, CyclesFinishedWhileTheBrokerIsAwayArriveOnceEachInOrder)
{
    StationProgram *program =
        startStation({QStringLiteral("--cycles"), QStringLiteral("4"), QStringLiteral("--time"), QStringLiteral("4")});
    ASSERT_TRUE(waitForCycleMessages(1)) << program->report();
    // The watcher's own acknowledgement reaches the broker before it goes: else the broker
    // gives the watcher cycle 1 again, which says nothing of the station.
    ASSERT_TRUE(subscriber->flush()) << qPrintable(subscriber->error());
    ASSERT_TRUE(broker.stop()) << qPrintable(broker.error());

    // A cycle completes with the broker away: it waits in the queue file.
    const qsizetype linesBefore = program->lines().size();
    ASSERT_TRUE(WaitFor([program, linesBefore] { return program->lines().size() > linesBefore || program->finished(); },
                        kRunLimit));
    ASSERT_FALSE(program->finished()) << program->report();
    const int awayCycle = int(program->lines().size());
    QFileSystemWatcher watcher({folder.path()});
    const QString queue = path(kQueueFile);
    const auto queued = [&watcher, &queue, awayCycle] {
        if (QFile::exists(queue) && !watcher.files().contains(queue))
            watcher.addPath(queue);
        for (const QByteArray &line : FileBytes(queue).split('\n'))
            if (QJsonDocument::fromJson(line).object()[QStringLiteral("cycle")].toInt(-1) == awayCycle)
                return true;
        return false;
    };
    EXPECT_TRUE(WaitFor([&queued, program] { return queued() || program->finished(); }, kRunLimit) && queued())
        << "cycle " << awayCycle << " in " << qPrintable(kQueueFile) << ":\n"
        << FileBytes(queue).constData();

    ASSERT_TRUE(broker.start()) << qPrintable(broker.error());
    ASSERT_TRUE(program->waitForExit());
    ASSERT_TRUE(program->exitedWith(0)) << program->report();
    EXPECT_EQ(program->lines().size(), 4) << program->report();
    ASSERT_TRUE(subscriber->flush()) << qPrintable(subscriber->error());
    const QList<QJsonObject> cycles = Payloads(subscriber->messages(kCycleTopic));
    EXPECT_EQ(CycleNumbers(cycles), QList<int>({1, 2, 3, 4})) << qPrintable(broker.log());
    // Once each from the station, across both runs of the broker.
    static const QRegularExpression fromStation(
        QStringLiteral("Received PUBLISH from pxr3-test-st-\\d+ \\(d\\d, q1, r0, m\\d+, 'pxr3/test-st/cycle'"));
    EXPECT_EQ(broker.log().count(fromStation), 4) << qPrintable(broker.log());
    MeasurementTable rows;
    const QString autosave = readAutosave(rows);
    for (const QJsonObject &cycle : cycles)
        ExpectMessageOfItsRow(cycle, rows, autosave);
    EXPECT_TRUE(FileBytes(queue).trimmed().isEmpty()) << FileBytes(queue).constData();
}

TEST_F(MqttStation, SigtermEndsAnEndlessSeriesWithItsRowsPublishedAndTheStationOffline)
{
    StationProgram *program =
        startStation({QStringLiteral("--cycles"), QStringLiteral("0"), QStringLiteral("--time"), QStringLiteral("4")});
    ASSERT_TRUE(waitForCycleMessages(2)) << program->report();
    program->signal(SIGTERM);
    ASSERT_TRUE(program->waitForExit());
    ASSERT_TRUE(program->exitedWith(0)) << program->report();
    ASSERT_TRUE(subscriber->flush()) << qPrintable(subscriber->error());

    const QList<QJsonObject> cycles = Payloads(subscriber->messages(kCycleTopic));
    ASSERT_GE(cycles.size(), 2);
    EXPECT_EQ(CycleNumbers(cycles).mid(0, 2), QList<int>({1, 2}));
    MeasurementTable rows;
    const QString autosave = readAutosave(rows);
    EXPECT_FALSE(rows.text(2, 3).isEmpty());
    for (const QJsonObject &cycle : cycles) {
        EXPECT_EQ(cycle[QStringLiteral("cycles")].toInt(-1), 0);
        ExpectMessageOfItsRow(cycle, rows, autosave);
    }
    QDirIterator parts(folder.path(), {QStringLiteral("*.part")}, QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    EXPECT_FALSE(parts.hasNext()) << qPrintable(parts.next());

    const QList<MqttMessage> offline = retainedFor(kStatusTopic);
    ASSERT_EQ(offline.size(), 1);
    EXPECT_TRUE(offline[0].retained);
    ExpectOffline(Payloads(offline)[0]);
}

} // namespace
} // namespace pxr3::test
