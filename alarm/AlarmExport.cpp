#include "AlarmExport.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <cstdlib>

#include "AlarmStore.h"
#include "DataFolder.h"
#include "LiveReport.h"
#include "OutputPath.h"
#include "RecordCsvExport.h"
#include "RecordDatabase.h"
#include "SensorDataFile.h"
#include "StationConfig.h"

namespace orsan {

namespace {

QString ExportTarget(const QString& outPath) {
    const QDateTime now = QDateTime::currentDateTime();
    const QString name = QStringLiteral("报警记录%1.csv").arg(ExportTimeText(now));
    if (outPath.isEmpty()) return ResolveDesktopFolder() + QLatin1Char('/') + name;
    if (QFileInfo(outPath).isDir()) return outPath + QLatin1Char('/') + name;
    return outPath;
}

}  // namespace

QString IsoLocalTime(int64_t seconds) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(seconds);
    const int offset = local.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           QStringLiteral("%1%2:%3")
               .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QByteArray FormatAlarmCsv(const std::vector<AlarmEvent>& events, const SensorNames& names) {
    const bool named = std::any_of(names.begin(), names.end(),
                                   [](const QString& name) { return !name.isEmpty(); });
    QByteArray text = named ? "Time,msTime,Sensor,Axis,Value,Zone,Kind,Ack,AckBy,AckTime,Name\r\n"
                            : "Time,msTime,Sensor,Axis,Value,Zone,Kind,Ack,AckBy,AckTime\r\n";
    for (const AlarmEvent& e : events) {
        const int64_t seconds = e.timeMs / 1000;
        QStringList fields = {
            IsoLocalTime(seconds),
            QString::number(e.timeMs - seconds * 1000),
            QString::number(e.sensor),
            QLatin1String(AlarmAxisName(e.axis)),
            e.axis == kNoAxis ? QString() : QString::fromStdString(FormatJsonFloat(e.value)),
            ZoneText(e.zone),
            QLatin1String(AlarmKindName(e.kind)),
            e.acknowledged ? QStringLiteral("1") : QStringLiteral("0"),
            e.ackBy,
            e.ackTime > 0 ? IsoLocalTime(e.ackTime) : QString(),
        };
        if (named)
            fields << (e.sensor >= 1 && e.sensor <= kSensorCount ? names[size_t(e.sensor - 1)]
                                                                 : QString());
        QByteArrayList quoted;
        for (const QString& field : fields) quoted << CsvField(field.toUtf8());
        text += quoted.join(',') + "\r\n";
    }
    return text;
}

int RunAlarmExportCommand(const QString& dataDir, const QString& outPath, QTextStream& out,
                          QTextStream& err) {
    const auto fail = [&err](const QString& reason) {
        err << "alarm export: " << reason << '\n';
        err.flush();
        return kAlarmExportFailed;
    };
    AlarmStore store;
    if (!store.Open(dataDir, AlarmStore::Mode::ExistingOnly))
        return fail(QStringLiteral("cannot open %1\n%2")
                        .arg(RecordDatabase::PathIn(dataDir), store.LastError()));
    std::vector<AlarmEvent> events;
    if (!store.LoadAll(&events)) return fail(store.LastError());
    // "-" is standard output, as for the other exports.
    const bool toStandardOutput = outPath == QLatin1String("-");
    const QString target = toStandardOutput ? outPath : ExportTarget(outPath);
    QString reason;
    if (!WriteOutputBytes(
            target, FormatAlarmCsv(events, LoadSensorNames(INIFILE(ConfigPath(dataDir)))), &reason,
            toStandardOutput ? OutputFile::Dash::StandardOutput : OutputFile::Dash::FileName))
        return fail(target + QStringLiteral(": ") + reason);
    // Standard output carries the data itself, nothing else.
    if (!toStandardOutput) out << QFileInfo(target).absoluteFilePath() << '\n';
    out.flush();
    return kAlarmExportOk;
}

}  // namespace orsan
