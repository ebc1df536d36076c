#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <chrono>
#include <functional>

#include "ChildProcess.h"
#include "IniFile.h"
#include "SimProcess.h"
#include "SimStationConfig.h"
#include "StationConfig.h"
#include "TempDir.h"

namespace orsan {
namespace {

using namespace std::chrono_literals;

// Three simulated machines with pinned velocities, classes from Alarm.ini and
// a one-second delay; the station's stream is read line by line.
class HeadlessAlarmTest : public ::testing::Test {
protected:
    test::TempDir dataDir{"orsan-headless-alarm"};
    test::SimProcess sim{{"--sensor", "127.0.0.1:0", "--sensor", "127.0.0.2:0", "--sensor",
                          "127.0.0.3:0", "--wave-port", "0"}};
    std::unique_ptr<test::ChildProcess> station;
    std::vector<QJsonObject> events;
    QJsonObject lastData;

    void SetUp() override {
        const QString folder = QString::fromStdString(dataDir.Path().string());
        ASSERT_TRUE(test::WriteSimStationConfig(folder, sim, 3, "1.0"));
        INIFILE config(ConfigPath(folder));
        ASSERT_TRUE(config.WriteString("SENSOR", "ID3NAME", QString::fromUtf8("P-103 \"泵\"")));
        INIFILE alarms(folder + "/Alarm.ini");
        const char* classes[] = {"2R", "1F", "2R"};
        for (int n = 1; n <= 3; ++n) {
            ASSERT_TRUE(alarms.WriteString(QStringLiteral("ID%1").arg(n), "CLASS", classes[n - 1]));
            ASSERT_TRUE(alarms.WriteString(QStringLiteral("ID%1").arg(n), "DELAY", "1"));
        }
        // Far above the simulated machines' warm running.
        ASSERT_TRUE(alarms.WriteStrings("ID1", {{"TEMP_ALARM", "70"}, {"TEMP_TRIP", "80"}}));
        sim.SetVelocities(1, 2.8, 0.5, 2.8);  // exactly on B/C of 2R: zone B, no event
        sim.SetVelocities(2, 1.0, 3.5, 0.2);  // 1F: zone A
        sim.SetVelocities(3, 1.0, 2.0, 1.0);  // 2R: zone B
        Start({});
    }

    // Reads lines until `done` holds for an event or a data line; false when
    // the stream ends or stays quiet for 10 s.
    bool ReadUntil(const std::function<bool(const QJsonObject&)>& done) {
        while (auto line = station->ReadLine(10s)) {
            const QJsonObject object =
                QJsonDocument::fromJson(QByteArray::fromStdString(*line)).object();
            EXPECT_FALSE(object.isEmpty()) << *line;
            if (object.contains("event"))
                events.push_back(object);
            else
                lastData = object;
            if (done(object)) return true;
        }
        return false;
    }

    void Start(std::vector<std::string> args) {
        for (const char* arg : {"--headless", "--data-dir"}) args.push_back(arg);
        args.push_back(dataDir.Path().string());
        station = std::make_unique<test::ChildProcess>(test::StationPath(), args);
    }

    void Stop() {
        station->Signal(SIGTERM);
        EXPECT_EQ(station->WaitExit(10s), std::optional<int>(0));
    }

    // The columns of every row of table `alarm`, each row a line of fields
    // separated by blanks, after running `change` on the file.
    QStringList Stored(const char* columns, const char* change = nullptr) {
        QStringList stored;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "alarm-check");
            db.setDatabaseName(QString::fromStdString(dataDir.File("DataRecord.db")));
            EXPECT_TRUE(db.open());
            QSqlQuery q(db);
            EXPECT_TRUE(!change || q.exec(change));
            EXPECT_TRUE(q.exec(QStringLiteral("SELECT %1 FROM alarm ORDER BY rowid").arg(columns)));
            while (q.next()) {
                QStringList fields;
                for (int c = 0; c < q.record().count(); ++c) fields << q.value(c).toString();
                stored << fields.join(' ');
            }
        }
        QSqlDatabase::removeDatabase("alarm-check");
        return stored;
    }

    static QJsonValue ZoneOf(const QJsonObject& data, int sensor) {
        return data["sensors"].toArray()[sensor - 1].toObject()["Zone"];
    }

    static std::function<bool(const QJsonObject&)> EventOfKind(const char* kind) {
        return [kind](const QJsonObject& o) { return o["event"].toString() == kind; };
    }
};

TEST_F(HeadlessAlarmTest, ZonesAndOneAlarmTripAndClearAsVibrationRisesAndFalls) {
    ASSERT_TRUE(ReadUntil([](const QJsonObject& o) {
        return ZoneOf(o, 1).toString() == "B" && ZoneOf(o, 2).toString() == "A" &&
               ZoneOf(o, 3).toString() == "B";
    }));
    for (int n = 4; n <= 6; ++n) EXPECT_TRUE(ZoneOf(lastData, n).isNull()) << n;
    const QJsonArray sensors = lastData["sensors"].toArray();
    EXPECT_TRUE(sensors[0].toObject()["name"].isNull());
    EXPECT_EQ(sensors[2].toObject()["name"].toString(), QString::fromUtf8("P-103 \"泵\""));

    const struct {
        double y;
        const char* kind;
        double value;
        const char* zone;
    } steps[] = {
        {3.5, "ALARM", 3.5, "C"},
        {5.0, "TRIP", 5.0, "D"},
        {1.2, "CLEAR", 1.2, "A"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.kind);
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        sim.SetVelocities(3, 1.0, step.y, 1.0);
        ASSERT_TRUE(ReadUntil(EventOfKind(step.kind)));
        const QJsonObject& event = events.back();
        EXPECT_EQ(event["id"].toInt(), 3);
        EXPECT_EQ(event["name"].toString(), QString::fromUtf8("P-103 \"泵\""));
        EXPECT_EQ(event["axis"].toString(), "Vel_Y");
        EXPECT_EQ(float(event["value"].toDouble()), float(step.value));
        EXPECT_EQ(event["zone"].toString(), step.zone);
        // Not before the one-second delay after the change.
        const qint64 at = qint64(event["time"].toInteger()) * 1000 + event["ms"].toInt();
        EXPECT_GE(at - before, 1000);
    }
    // A few more lines: nothing repeats, nothing for the machines in A or B.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(ReadUntil([](const QJsonObject& o) { return !o.contains("event"); }));
    Stop();
    ASSERT_EQ(events.size(), 3u);

    // The same events in table `alarm`.
    const QStringList stored = Stored("Time, msTime, Sensor, Axis, Value, Zone, Kind, Ack");
    QStringList streamed;
    for (const QJsonObject& e : events)
        streamed << QStringList{QString::number(e["time"].toInteger()),
                                QString::number(e["ms"].toInt()),
                                QString::number(e["id"].toInt()),
                                e["axis"].toString(),
                                QString::number(e["value"].toDouble()),
                                e["zone"].toString(),
                                e["event"].toString(),
                                "0"}
                        .join(' ');
    EXPECT_EQ(stored, streamed);

    // And the same three in the CSV export, after its header.
    const std::string csv = dataDir.File("alarms.csv");
    test::ChildProcess exporter(test::StationPath(), {"--export-alarms", "--out", csv, "--data-dir",
                                                      dataDir.Path().string()});
    EXPECT_EQ(exporter.ReadLine(10s), std::optional<std::string>(csv));
    ASSERT_EQ(exporter.WaitExit(10s), std::optional<int>(0));
    QFile file(QString::fromStdString(csv));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    const QList<QByteArray> lines = written.split('\n');
    ASSERT_EQ(lines.size(), 5);  // header, three events, nothing after the last CRLF
    // The machine's name, quoted as RFC 4180 wants, in the last column.
    EXPECT_TRUE(lines[3].endsWith(
        QString::fromUtf8(",3,Vel_Y,1.2,A,CLEAR,0,,,\"P-103 \"\"泵\"\"\"\r").toUtf8()))
        << lines[3].toStdString();

    // "-" is standard output: the same bytes, no path line, no file named "-".
    test::ChildProcess piped(test::StationPath(), {"--export-alarms", "--out", "-", "--data-dir",
                                                   dataDir.Path().string()});
    QByteArray streamedCsv;
    while (auto line = piped.ReadLine(10s)) streamedCsv += QByteArray::fromStdString(*line) + '\n';
    ASSERT_EQ(piped.WaitExit(10s), std::optional<int>(0));
    EXPECT_EQ(streamedCsv, written);
}

TEST_F(HeadlessAlarmTest, ASilentSensorIsLostAfterItsDelayAndRestoredWhenItAnswers) {
    ASSERT_TRUE(ReadUntil([](const QJsonObject& o) { return ZoneOf(o, 2).toString() == "A"; }));
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    sim.SetFault(2, "silent");
    ASSERT_TRUE(ReadUntil(EventOfKind("LOST")));
    const QJsonObject lost = events.back();
    EXPECT_EQ(lost["id"].toInt(), 2);
    EXPECT_TRUE(lost["axis"].isNull() && lost["value"].isNull() && lost["zone"].isNull());
    EXPECT_GE(qint64(lost["time"].toInteger()) * 1000 + lost["ms"].toInt() - before, 1000);
    sim.SetFault(2, "none");
    ASSERT_TRUE(ReadUntil(EventOfKind("RESTORED")));
    EXPECT_EQ(events.back()["id"].toInt(), 2);
    EXPECT_EQ(events.back()["zone"].toString(), "A");
    // Sensors 4 to 6 have no address: never lost.
    EXPECT_EQ(events.size(), 2u);
    Stop();
}

// A machine held in zone D across three restarts of the recorder is one
// TRIP, acknowledged once; it clears when the vibration goes. The shell
// temperature raises and clears its own alarms.
TEST_F(HeadlessAlarmTest, AnAlarmHeldAcrossRestartsIsOneAlarmAndTemperatureHasItsOwn) {
    sim.SetVelocities(3, 1.0, 5.0, 1.0);
    ASSERT_TRUE(ReadUntil(EventOfKind("TRIP")));
    Stop();
    // Acknowledged as the window would, between two runs.
    const char* kColumns = "Sensor, Axis, Kind, Ack, AckBy";
    EXPECT_EQ(Stored(kColumns, "UPDATE alarm SET Ack = 1, AckBy = '张工', AckTime = 1"),
              QStringList{"3 Vel_Y TRIP 1 张工"});

    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        Start({"--record", "--duration", "2.5"});  // beyond the delay of 1 s
        EXPECT_FALSE(ReadUntil([](const QJsonObject&) { return false; }));
        EXPECT_EQ(station->WaitExit(10s), std::optional<int>(0));
        EXPECT_EQ(ZoneOf(lastData, 3).toString(), "D");
    }
    EXPECT_EQ(events.size(), 1u);

    Start({});
    sim.SetVelocities(3, 1.0, 1.2, 1.0);
    ASSERT_TRUE(ReadUntil(EventOfKind("CLEAR")));
    const struct {
        uint16_t centidegrees;
        const char* kind;
    } steps[] = {{7500, "ALARM"}, {8500, "TRIP"}, {3000, "CLEAR"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.kind);
        sim.SetRegister(1, 0, step.centidegrees);
        ASSERT_TRUE(ReadUntil(EventOfKind(step.kind)));
        const QJsonObject& event = events.back();
        EXPECT_EQ(event["id"].toInt(), 1);
        EXPECT_EQ(event["axis"].toString(), "T_Shell");
        EXPECT_EQ(event["value"].toDouble(), step.centidegrees / 100.0);
        EXPECT_TRUE(event["zone"].isNull());
    }
    Stop();
    EXPECT_EQ(Stored(kColumns),
              (QStringList{"3 Vel_Y TRIP 1 张工", "3 Vel_Y CLEAR 0 ", "1 T_Shell ALARM 0 ",
                           "1 T_Shell TRIP 0 ", "1 T_Shell CLEAR 0 "}));
}

}  // namespace
}  // namespace orsan
