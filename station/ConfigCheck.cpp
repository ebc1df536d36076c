#include "ConfigCheck.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include "Language.h"
#include "SensorNames.h"
#include "StationConfig.h"

namespace orsan {

namespace {

bool IsOneOf(const QString& name, std::initializer_list<const char*> names) {
    for (const char* known : names)
        if (name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace

QStringList UnreadableLineProblems(const INIFILE& file, const QString& fileName) {
    QStringList problems;
    for (const IniUnreadableLine& line : file.UnreadableLines()) {
        if (line.reason == IniUnreadableLine::Reason::TooLong)
            problems << QCoreApplication::translate("StationConfig",
                                                    "%1 第%2行无效：长于 %3 字节，该行未读取")
                            .arg(fileName)
                            .arg(line.line)
                            .arg(kMaxIniLineBytes);
        else
            problems << QCoreApplication::translate("StationConfig",
                                                    "%1 第%2行无效：不是 UTF-8 文字，该行未读取")
                            .arg(fileName)
                            .arg(line.line);
    }
    return problems;
}

QStringList UnknownNameProblems(const INIFILE& file, const QString& fileName,
                                const KnownIniName& known) {
    QStringList problems;
    bool sectionSeen = false, sectionKnown = false;
    for (const IniEntry& entry : file.Entries()) {
        if (entry.key.isEmpty()) {
            sectionSeen = true;
            sectionKnown = known(entry.section, QString());
            if (!sectionKnown)
                problems << QCoreApplication::translate(
                                "StationConfig", "%1 [%2] 无效：未知的节（第%3行），该节未读取")
                                .arg(fileName, entry.section)
                                .arg(entry.line);
        } else if (!sectionSeen) {
            problems << QCoreApplication::translate("StationConfig",
                                                    "%1 %2 无效：不在任何节内（第%3行），未读取")
                            .arg(fileName, entry.key)
                            .arg(entry.line);
        } else if (sectionKnown && !known(entry.section, entry.key)) {
            problems << QCoreApplication::translate("StationConfig",
                                                    "%1 [%2] %3 无效：未知的键（第%4行），未读取")
                            .arg(fileName, entry.section, entry.key)
                            .arg(entry.line);
        }
    }
    return problems;
}

bool IsKnownConfigName(const QString& section, const QString& key) {
    static const QRegularExpression sensorKey(
        QStringLiteral("^ID[1-6](IP[1-4]|PORT|NAME|TIMEOUT_MS|UNIT)$"),
        QRegularExpression::CaseInsensitiveOption);
    if (IsOneOf(section, {"DAQ"}))
        return key.isEmpty() ||
               IsOneOf(key, {"INTERVAL", "RECORD", "KEEP_DAYS", "REPORT_DIR", "TIMEOUT_MS"});
    if (IsOneOf(section, {"SENSOR"})) return key.isEmpty() || sensorKey.match(key).hasMatch();
    if (IsOneOf(section, {"SERVER"})) return key.isEmpty() || IsOneOf(key, {"CONNINFO", "STATION"});
    if (IsOneOf(section, {"UI"})) return key.isEmpty() || IsOneOf(key, {"LANG"});
    return false;
}

QStringList StationConfigProblems(const INIFILE& config) {
    const QString name = QStringLiteral("Config.ini");
    QStringList problems = UnreadableLineProblems(config, name);
    problems << UnknownNameProblems(config, name, IsKnownConfigName);
    LoadStationConfig(config, &problems);
    return problems;
}

QStringList AllStationConfigProblems(const INIFILE& config) {
    QStringList problems = StationConfigProblems(config);
    QString error;
    if (!LoadLanguage(config, &error)) problems << error;
    error.clear();
    if (!LoadKeepDays(config, &error)) problems << error;
    return problems;
}

}  // namespace orsan
