#include "AlarmStore.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <atomic>

#include "LiveReport.h"
#include "RecordDatabase.h"
#include "RecordRange.h"
#include "SqliteFile.h"

namespace orsan {

namespace {

const QStringList kColumns = {"Time", "msTime", "Sensor", "Axis", "Value", "Zone", "Kind", "Ack"};
// Added later; a table from before gets them when the station opens it.
const QStringList kAckColumns = {"AckBy", "AckTime"};

QString SelectSql(bool hasAckColumns) {
    return QStringLiteral("SELECT rowid, Time, msTime, Sensor, Axis, Value, Zone, Kind, Ack, %1 "
                          "FROM alarm ")
        .arg(hasAckColumns ? QStringLiteral("AckBy, AckTime") : QStringLiteral("NULL, NULL"));
}

const QString kRaisingKinds = QStringLiteral("Kind IN ('ALARM', 'TRIP', 'LOST')");
// 1 for an event of the temperature, 0 for one of the velocity or none.
const QString kIsTemperature = QStringLiteral("(Axis IS 'T_Shell')");

// Per sensor, kind and quantity of the raising events: whether one comes
// after the last CLEAR (for LOST: RESTORED) of its sensor and quantity, and
// whether all are acknowledged.
const QString kStandingAlarmsSql = QStringLiteral(
    "WITH ends AS (SELECT Sensor, (Axis IS 'T_Shell') AS Temp, "
    "MAX(CASE WHEN Kind = 'CLEAR' THEN rowid END) AS Cleared, "
    "MAX(CASE WHEN Kind = 'RESTORED' THEN rowid END) AS Restored "
    "FROM alarm GROUP BY Sensor, Temp) "
    "SELECT a.Sensor, a.Kind, e.Temp, "
    "MAX(a.rowid > COALESCE(CASE a.Kind WHEN 'LOST' THEN e.Restored ELSE e.Cleared END, 0)), "
    "MIN(a.Ack) "
    "FROM alarm a JOIN ends e ON e.Sensor = a.Sensor AND e.Temp = (a.Axis IS 'T_Shell') "
    "WHERE a.Kind IN ('ALARM', 'TRIP', 'LOST') GROUP BY a.Sensor, a.Kind, e.Temp");

QString NextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("orsan_alarm_%1").arg(++counter);
}

}  // namespace

AlarmStore::AlarmStore() : connectionName_(NextConnectionName()) {}

AlarmStore::~AlarmStore() {
    Close();
}

bool AlarmStore::Open(const QString& folder, Mode mode) {
    Close();
    path_ = RecordDatabase::PathIn(folder);
    {
        // The record database decides whether the file is the station's and
        // gives a new file its table `data` before ours joins it.
        RecordDatabase record;
        if (!record.Open(folder, mode == Mode::ExistingOnly
                                     ? RecordDatabase::Mode::ExistingOnly
                                     : RecordDatabase::Mode::CreateIfMissing)) {
            lastError_ = record.LastDiagnostic();
            return false;
        }
    }
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    // The record database writes to the same file; wait for its lock.
    // Exports only read, so they work from a folder the user cannot write.
    if (!OpenSqliteFile(db_, path_,
                        mode == Mode::ExistingOnly ? SqliteAccess::ReadOnly
                                                   : SqliteAccess::ReadWrite,
                        QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"))) {
        Fail(QCoreApplication::translate("AlarmStore", "打开"), db_.lastError());
        Close();
        return false;
    }
    if (!CheckTable(mode == Mode::CreateIfMissing)) {
        Close();
        return false;
    }
    open_ = true;
    return true;
}

bool AlarmStore::CheckTable(bool create) {
    lastError_.clear();
    QSqlQuery query(db_);
    if (!query.exec(QStringLiteral("PRAGMA table_info(alarm)")))
        return Fail(QCoreApplication::translate("AlarmStore", "读取报警表"), query.lastError());
    QStringList found;
    while (query.next()) found << query.value(1).toString();
    query.finish();
    if (found.isEmpty()) {
        tableExists_ = false;
        hasAckColumns_ = false;
        // An export reads a file without events as empty and leaves it as it is.
        if (!create) return true;
        if (!query.exec(QStringLiteral(
                "CREATE TABLE alarm (Time INTEGER, msTime INTEGER, Sensor INTEGER, Axis TEXT, "
                "Value REAL, Zone TEXT, Kind TEXT, Ack INTEGER, AckBy TEXT, AckTime INTEGER)")))
            return Fail(QCoreApplication::translate("AlarmStore", "创建报警表"), query.lastError());
        if (!query.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS alarm_time ON alarm(Time)")))
            return Fail(QCoreApplication::translate("AlarmStore", "创建报警表索引"),
                        query.lastError());
        found = kColumns + kAckColumns;
    }
    const QStringList expected = kColumns + kAckColumns;
    bool matches = found.size() == kColumns.size() || found.size() == expected.size();
    for (int c = 0; matches && c < found.size(); ++c)
        matches = found[c].compare(expected[c], Qt::CaseInsensitive) == 0;
    if (!matches) {
        lastError_ =
            QCoreApplication::translate("AlarmStore", "报警表 alarm 的列不符（现有列: %1）")
                .arg(found.join(QLatin1Char(',')));
        return false;
    }
    tableExists_ = true;
    return AddAcknowledgementColumns(found, create);
}

bool AlarmStore::AddAcknowledgementColumns(const QStringList& found, bool create) {
    hasAckColumns_ = found.size() > kColumns.size();
    // A read-only export lists the events of an older table without them.
    if (!create) return true;
    QSqlQuery query(db_);
    if (!hasAckColumns_) {
        // One transaction: a table never has one of the two.
        if (!db_.transaction())
            return Fail(QCoreApplication::translate("AlarmStore", "升级报警表"), db_.lastError());
        for (const QString& sql : {QStringLiteral("ALTER TABLE alarm ADD COLUMN AckBy TEXT"),
                                   QStringLiteral("ALTER TABLE alarm ADD COLUMN AckTime INTEGER")}) {
            if (!query.exec(sql)) {
                db_.rollback();
                return Fail(QCoreApplication::translate("AlarmStore", "升级报警表"),
                            query.lastError());
            }
        }
        if (!db_.commit())
            return Fail(QCoreApplication::translate("AlarmStore", "升级报警表"), db_.lastError());
        hasAckColumns_ = true;
    }
    if (!query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS alarm_ack (Time INTEGER, "
                                   "msTime INTEGER, Alarm INTEGER, AckBy TEXT)")))
        return Fail(QCoreApplication::translate("AlarmStore", "创建确认记录表"), query.lastError());
    return true;
}

void AlarmStore::Close() {
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
    }
    open_ = false;
    tableExists_ = false;
}

bool AlarmStore::Fail(const QString& what, const QSqlError& error) {
    lastError_ = QCoreApplication::translate("AlarmStore", "报警记录%1失败（%2）：%3")
                     .arg(what, path_, error.text());
    return false;
}

bool AlarmStore::Insert(AlarmEvent* event, int64_t ackTimeMs) {
    if (!open_ || !tableExists_) {
        lastError_ = QCoreApplication::translate("AlarmStore", "报警记录无法保存：数据库未打开");
        return false;
    }
    const bool acknowledged = event->acknowledged && hasAckColumns_;
    // An event and its acknowledgement are one write: the log never names a
    // row that is not there.
    if (acknowledged && !db_.transaction())
        return Fail(QCoreApplication::translate("AlarmStore", "保存"), db_.lastError());
    const auto fail = [&](const QSqlError& error) {
        if (acknowledged) db_.rollback();
        return Fail(QCoreApplication::translate("AlarmStore", "保存"), error);
    };
    QSqlQuery query(db_);
    query.prepare(QStringLiteral(
        "INSERT INTO alarm (Time, msTime, Sensor, Axis, Value, Zone, Kind, Ack%1) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, %2)")
                      .arg(acknowledged ? QStringLiteral(", AckBy, AckTime") : QString(),
                           acknowledged ? QStringLiteral("1, ?, ?") : QStringLiteral("0")));
    query.addBindValue(qint64(event->timeMs / 1000));
    query.addBindValue(int(event->timeMs % 1000));
    query.addBindValue(event->sensor);
    if (event->axis == kNoAxis) {
        // A LOST event has no reading: no axis, no value.
        query.addBindValue(QVariant(QMetaType(QMetaType::QString)));
        query.addBindValue(QVariant(QMetaType(QMetaType::Double)));
    } else {
        query.addBindValue(QLatin1String(AlarmAxisName(event->axis)));
        // The shortest text of the float, converted by the REAL column: 3.5,
        // not 3.4999999046.
        query.addBindValue(QString::fromStdString(FormatJsonFloat(event->value)));
    }
    query.addBindValue(ZoneText(event->zone));
    query.addBindValue(QLatin1String(AlarmKindName(event->kind)));
    if (acknowledged) {
        query.addBindValue(event->ackBy);
        query.addBindValue(qint64(ackTimeMs / 1000));
    }
    if (!query.exec()) return fail(query.lastError());
    const int64_t id = query.lastInsertId().toLongLong();
    if (acknowledged) {
        QSqlQuery log(db_);
        log.prepare(QStringLiteral(
            "INSERT INTO alarm_ack (Time, msTime, Alarm, AckBy) VALUES (?, ?, ?, ?)"));
        log.addBindValue(qint64(ackTimeMs / 1000));
        log.addBindValue(int(ackTimeMs % 1000));
        log.addBindValue(qint64(id));
        log.addBindValue(event->ackBy);
        if (!log.exec()) return fail(log.lastError());
        if (!db_.commit()) return fail(db_.lastError());
        event->ackTime = ackTimeMs / 1000;
    }
    event->id = id;
    event->acknowledged = acknowledged;
    return true;
}

bool AlarmStore::Load(const QString& sql, const QVariantList& binds,
                      std::vector<AlarmEvent>* events) {
    events->clear();
    if (!open_) {
        lastError_ = QCoreApplication::translate("AlarmStore", "报警记录无法读取：数据库未打开");
        return false;
    }
    if (!tableExists_) return true;
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return Fail(QCoreApplication::translate("AlarmStore", "读取"), query.lastError());
    for (const QVariant& value : binds) query.addBindValue(value);
    if (!query.exec())
        return Fail(QCoreApplication::translate("AlarmStore", "读取"), query.lastError());
    while (query.next()) {
        AlarmEvent event;
        event.id = query.value(0).toLongLong();
        event.timeMs = query.value(1).toLongLong() * 1000 + query.value(2).toLongLong();
        event.sensor = query.value(3).toInt();
        event.axis = AlarmAxisOf(query.value(4).toString());
        event.value = event.axis == kNoAxis ? 0.0f : query.value(5).toFloat();
        const QString zone = query.value(6).toString();
        event.zone = zone.size() == 1 && zone[0] >= u'A' && zone[0] <= u'D'
                         ? Zone(zone[0].toLatin1())
                         : Zone::None;
        event.kind = ParseAlarmKind(query.value(7).toString()).value_or(AlarmKind::Alarm);
        event.acknowledged = query.value(8).toInt() != 0;
        event.ackBy = query.value(9).toString();
        event.ackTime = query.value(10).toLongLong();
        events->push_back(event);
    }
    if (query.lastError().isValid())
        return Fail(QCoreApplication::translate("AlarmStore", "读取"), query.lastError());
    return true;
}

bool AlarmStore::LoadNewest(int limit, std::vector<AlarmEvent>* events) {
    return Load(SelectSql(hasAckColumns_) + QStringLiteral("ORDER BY Time DESC, msTime DESC, rowid DESC LIMIT ?"),
                {std::max(0, limit)}, events);
}

bool AlarmStore::LoadForList(int limit, std::vector<AlarmEvent>* events) {
    const QString newest = QStringLiteral(
        "rowid IN (SELECT rowid FROM alarm ORDER BY Time DESC, msTime DESC, rowid DESC LIMIT ?)");
    return Load(SelectSql(hasAckColumns_) + QStringLiteral("WHERE ") + newest +
                    QStringLiteral(" OR (Ack = 0 AND ") + kRaisingKinds +
                    QStringLiteral(") ORDER BY Time DESC, msTime DESC, rowid DESC"),
                {std::max(0, limit)}, events);
}

bool AlarmStore::LoadAll(std::vector<AlarmEvent>* events) {
    return Load(SelectSql(hasAckColumns_) + QStringLiteral("ORDER BY Time, msTime, rowid"), {},
                events);
}

bool AlarmStore::LoadBetween(int64_t fromMs, int64_t toMs, std::vector<AlarmEvent>* events) {
    // The whole seconds first, so the Time index finds the rows.
    return Load(SelectSql(hasAckColumns_) +
                    QStringLiteral("WHERE Time BETWEEN ? AND ? AND Time * 1000 + msTime BETWEEN ? "
                                   "AND ? ORDER BY Time, msTime, rowid"),
                {FloorSeconds(fromMs), FloorSeconds(toMs), qint64(fromMs),
                 qint64(toMs)},
                events);
}

bool AlarmStore::AcknowledgeWhere(const QString& where, const QVariantList& binds,
                                  const QString& who, int64_t timeMs) {
    if (!open_ || !tableExists_ || !hasAckColumns_) {
        lastError_ = QCoreApplication::translate("AlarmStore", "报警记录无法确认：数据库未打开");
        return false;
    }
    const QString picked = QStringLiteral(" FROM alarm WHERE Ack = 0 AND (%1)").arg(where);
    const auto run = [&](const QString& sql, const QVariantList& head) {
        QSqlQuery query(db_);
        query.prepare(sql);
        for (const QVariant& value : head + binds) query.addBindValue(value);
        return query.exec() ? QSqlError() : query.lastError();
    };
    // The log first, as it picks the rows by their Ack = 0.
    if (!db_.transaction())
        return Fail(QCoreApplication::translate("AlarmStore", "确认"), db_.lastError());
    QSqlError error =
        run(QStringLiteral("INSERT INTO alarm_ack (Time, msTime, Alarm, AckBy) SELECT ?, ?, "
                           "rowid, ?") + picked,
            {qint64(timeMs / 1000), int(timeMs % 1000), who});
    if (!error.isValid())
        error = run(QStringLiteral("UPDATE alarm SET Ack = 1, AckBy = ?, AckTime = ?") +
                        picked.mid(picked.indexOf(QStringLiteral(" WHERE"))),
                    {who, qint64(timeMs / 1000)});
    if (error.isValid()) {
        db_.rollback();
        return Fail(QCoreApplication::translate("AlarmStore", "确认"), error);
    }
    if (!db_.commit())
        return Fail(QCoreApplication::translate("AlarmStore", "确认"), db_.lastError());
    return true;
}

bool AlarmStore::Acknowledge(int64_t id, const QString& who, int64_t timeMs) {
    return AcknowledgeWhere(QStringLiteral("rowid = ?"), {qint64(id)}, who, timeMs);
}

bool AlarmStore::AcknowledgeAlarm(int sensor, AlarmKind kind, const QString& who, int64_t timeMs,
                                  AlarmQuantity quantity) {
    return AcknowledgeWhere(
        QStringLiteral("Sensor = ? AND Kind = ? AND %1 = ?").arg(kIsTemperature),
        {sensor, QLatin1String(AlarmKindName(kind)), int(quantity == AlarmQuantity::Temperature)},
        who, timeMs);
}

bool AlarmStore::AcknowledgeAll(const QString& who, int64_t timeMs) {
    return AcknowledgeWhere(QStringLiteral("1"), {}, who, timeMs);
}

bool AlarmStore::LoadStandingAlarms(std::vector<StandingAlarm>* alarms) {
    alarms->clear();
    if (!open_ || !tableExists_) return open_;
    // Rows are only ever appended, so the rowid orders them even where the
    // wall clock went back.
    QSqlQuery query(db_);
    if (!query.exec(kStandingAlarmsSql))
        return Fail(QCoreApplication::translate("AlarmStore", "读取"), query.lastError());
    while (query.next()) {
        const auto kind = ParseAlarmKind(query.value(1).toString());
        const bool active = query.value(3).toInt() != 0;
        const bool acknowledged = query.value(4).toInt() != 0;
        if (!kind || (!active && acknowledged)) continue;
        alarms->push_back(
            {query.value(0).toInt(), *kind,
             query.value(2).toInt() ? AlarmQuantity::Temperature : AlarmQuantity::Velocity,
             active ? (acknowledged ? AlarmState::ActiveAcknowledged
                                    : AlarmState::ActiveUnacknowledged)
                    : AlarmState::ReturnedUnacknowledged});
    }
    return true;
}

int AlarmStore::UnacknowledgedRaisedCount() {
    if (!open_) return -1;
    if (!tableExists_) return 0;
    QSqlQuery query(db_);
    if (!query.exec(QStringLiteral(
            "SELECT COUNT(*) FROM alarm WHERE Ack = 0 AND ") + kRaisingKinds) ||
        !query.next()) {
        Fail(QCoreApplication::translate("AlarmStore", "读取"), query.lastError());
        return -1;
    }
    return query.value(0).toInt();
}

}  // namespace orsan
