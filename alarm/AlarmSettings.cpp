#include "AlarmSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#if __has_include(<pwd.h>)
#include <pwd.h>
#include <unistd.h>
#endif

#include "IniFile.h"

namespace orsan {

namespace {

const QString kClassKey = QStringLiteral("CLASS");
const QString kZonesKey = QStringLiteral("ZONES");
const QString kBaselineKey = QStringLiteral("BASELINE");
const QString kAlarmKey = QStringLiteral("ALARM");
const QString kTripKey = QStringLiteral("TRIP");
const QString kDelayKey = QStringLiteral("DELAY");
const QString kTempAlarmKey = QStringLiteral("TEMP_ALARM");
const QString kTempTripKey = QStringLiteral("TEMP_TRIP");

// A whole text that is one finite number as the station's INI files read
// numbers (decimal or hex, an underflow is 0), or nullopt.
std::optional<double> ParseNumber(const QString& text) {
    const std::optional<double> value = ParseIniNumber(text);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

QString Refusal(const QString& key, const QString& value, const QString& reason) {
    return QCoreApplication::translate("AlarmSettings", "%1=%2 无效：%3").arg(key, value, reason);
}

// A positive number in mm/s or seconds; an empty text is "not given".
std::optional<double> ParsePositive(const QString& key, const QString& text, bool allowZero,
                                    QStringList* problems) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    const std::optional<double> value = ParseNumber(text);
    if (value && (*value > 0 || (allowZero && *value == 0))) return value;
    problems->append(Refusal(key, text.trimmed(),
                             allowZero
                                 ? QCoreApplication::translate("AlarmSettings", "须为不小于0的数")
                                 : QCoreApplication::translate("AlarmSettings", "须为大于0的数")));
    return std::nullopt;
}

std::optional<ZoneBoundaries> ParseZones(const QString& text, QStringList* problems) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    const QStringList parts = text.split(QLatin1Char(','));
    std::optional<double> values[3];
    bool numbers = parts.size() == 3;
    for (int i = 0; numbers && i < 3; ++i) {
        values[i] = ParseNumber(parts[i]);
        numbers = values[i].has_value();
    }
    if (!numbers) {
        problems->append(
            Refusal(kZonesKey, text.trimmed(),
                    QCoreApplication::translate(
                        "AlarmSettings", "须为三个以逗号分隔的数 A/B,B/C,C/D，已按机器类别分区")));
        return std::nullopt;
    }
    if (!(*values[0] > 0 && *values[0] < *values[1] && *values[1] < *values[2])) {
        problems->append(
            Refusal(kZonesKey, text.trimmed(),
                    QCoreApplication::translate("AlarmSettings",
                                                "分区边界须大于0且严格递增，已按机器类别分区")));
        return std::nullopt;
    }
    return ZoneBoundaries{*values[0], *values[1], *values[2]};
}

QString NumberText(double value) {
    // Shortest text that reads back as the same value.
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString OptionalText(const std::optional<double>& value) {
    return value ? NumberText(*value) : QString();
}

// A TRIP at or below the ALARM would let one steady vibration raise TRIP and
// CLEAR by turns; such limits fall back to the zone boundaries B/C and C/D,
// which always rise.
void RefuseTripNotAboveAlarm(SensorAlarmSettings& settings, QStringList* problems) {
    const AlarmLimits limits = ComputeAlarmLimits(settings);
    if (limits.trip > limits.alarm) return;
    QStringList given;
    if (settings.baseline)
        given << kBaselineKey + QLatin1Char('=') + NumberText(*settings.baseline);
    if (settings.alarm) given << kAlarmKey + QLatin1Char('=') + NumberText(*settings.alarm);
    if (settings.trip) given << kTripKey + QLatin1Char('=') + NumberText(*settings.trip);
    settings.baseline.reset();
    settings.alarm.reset();
    settings.trip.reset();
    const ZoneBoundaries& zones = ComputeAlarmLimits(settings).zones;
    problems->append(
        QCoreApplication::translate(
            "AlarmSettings",
            "%1 无效：停机值 %2 mm/s 须大于报警值 %3 mm/s，已按分区边界报警 %4 mm/s、停机 %5 mm/s")
            .arg(given.join(QCoreApplication::translate("AlarmSettings", "、")),
                 NumberText(limits.trip), NumberText(limits.alarm), NumberText(zones.bc),
                 NumberText(zones.cd)));
}

// Same reason as for the velocity: a TEMP_TRIP at or below TEMP_ALARM would
// raise and clear by turns. Without a velocity-like default to fall back
// to, both go.
void RefuseTempTripNotAboveAlarm(SensorAlarmSettings& settings, QStringList* problems) {
    if (!settings.tempAlarm || !settings.tempTrip || *settings.tempTrip > *settings.tempAlarm)
        return;
    problems->append(
        QCoreApplication::translate("AlarmSettings",
                                    "%1=%2、%3=%4 无效：温度停机值须大于温度报警值，已不作温度报警")
            .arg(kTempAlarmKey, NumberText(*settings.tempAlarm), kTempTripKey,
                 NumberText(*settings.tempTrip)));
    settings.tempAlarm.reset();
    settings.tempTrip.reset();
}

}  // namespace

SensorAlarmSettings ParseAlarmTexts(const SensorAlarmTexts& texts, QStringList* problems) {
    QStringList ignored;
    if (!problems) problems = &ignored;
    SensorAlarmSettings settings;
    const QString machineClass = texts.machineClass.trimmed();
    if (!machineClass.isEmpty()) {
        if (BoundariesOfClass(machineClass))
            settings.machineClass = machineClass.toUpper();
        else
            problems->append(Refusal(kClassKey, machineClass,
                                     QCoreApplication::translate(
                                         "AlarmSettings", "须为 1R、1F、2R 或 2F，已按 2R 处理")));
    }
    settings.zones = ParseZones(texts.zones, problems);
    settings.baseline = ParsePositive(kBaselineKey, texts.baseline, true, problems);
    settings.alarm = ParsePositive(kAlarmKey, texts.alarm, false, problems);
    settings.trip = ParsePositive(kTripKey, texts.trip, false, problems);
    if (const auto delay = ParsePositive(kDelayKey, texts.delay, true, problems)) {
        if (*delay <= kLongestAlarmDelaySeconds)
            settings.delaySeconds = *delay;
        else
            problems->append(
                Refusal(kDelayKey, texts.delay.trimmed(),
                        QCoreApplication::translate("AlarmSettings", "延时最长86400秒（一天）")));
    }
    RefuseTripNotAboveAlarm(settings, problems);
    settings.tempAlarm = ParsePositive(kTempAlarmKey, texts.tempAlarm, false, problems);
    settings.tempTrip = ParsePositive(kTempTripKey, texts.tempTrip, false, problems);
    RefuseTempTripNotAboveAlarm(settings, problems);
    return settings;
}

SensorAlarmTexts FormatAlarmTexts(const SensorAlarmSettings& settings) {
    SensorAlarmTexts texts;
    texts.machineClass = settings.machineClass;
    if (settings.zones)
        texts.zones = QStringLiteral("%1,%2,%3")
                          .arg(NumberText(settings.zones->ab), NumberText(settings.zones->bc),
                               NumberText(settings.zones->cd));
    texts.baseline = OptionalText(settings.baseline);
    texts.alarm = OptionalText(settings.alarm);
    texts.trip = OptionalText(settings.trip);
    texts.delay = NumberText(settings.delaySeconds);
    texts.tempAlarm = OptionalText(settings.tempAlarm);
    texts.tempTrip = OptionalText(settings.tempTrip);
    return texts;
}

AlarmLimits ComputeAlarmLimits(const SensorAlarmSettings& settings) {
    AlarmLimits limits;
    limits.zones = settings.zones ? *settings.zones
                                  : BoundariesOfClass(settings.machineClass)
                                        .value_or(*BoundariesOfClass(kDefaultMachineClass));
    const double bc = limits.zones.bc;
    if (settings.alarm)
        limits.alarm = *settings.alarm;
    else if (settings.baseline)
        limits.alarm = std::min(*settings.baseline + kBaselineShare * bc, kBaselineCap * bc);
    else
        limits.alarm = bc;
    limits.trip = settings.trip ? *settings.trip : limits.zones.cd;
    limits.delaySeconds = settings.delaySeconds;
    limits.tempAlarm = settings.tempAlarm;
    limits.tempTrip = settings.tempTrip;
    return limits;
}

QString AlarmIniPath(const QString& dataDir) {
    return QDir(dataDir).filePath(QStringLiteral("Alarm.ini"));
}

bool LoadAlarmSoundEnabled(const INIFILE& file, QStringList* problems) {
    const QString key = QStringLiteral("SOUND");
    const QString value = file.GetString(QLatin1String(kGlobalSection), key, QString()).trimmed();
    if (problems && !value.isEmpty() && value != QLatin1String("0") && value != QLatin1String("1"))
        problems->append(QStringLiteral("Alarm.ini [%1] %2")
                             .arg(QLatin1String(kGlobalSection),
                                  Refusal(key, value,
                                          QCoreApplication::translate(
                                              "AlarmSettings", "须为 0 或 1，提示音保持开启"))));
    return value != QLatin1String("0");
}

QString DefaultOperatorName() {
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        const QString name = qEnvironmentVariable(variable).trimmed();
        if (!name.isEmpty()) return name;
    }
#if __has_include(<pwd.h>)
    // A service or a desktop session may start the station without them;
    // the account is still known to the system.
    if (const passwd* account = getpwuid(getuid()); account && account->pw_name) {
        const QString name = QString::fromLocal8Bit(account->pw_name).trimmed();
        if (!name.isEmpty()) return name;
    }
#endif
    return QCoreApplication::translate("AlarmSettings", "操作员");
}

const QStringList& SensorAlarmKeys() {
    static const QStringList keys{kClassKey, kZonesKey, kBaselineKey,  kAlarmKey,
                                  kTripKey,  kDelayKey, kTempAlarmKey, kTempTripKey};
    return keys;
}

QString AlarmSection(int sensor) {
    return QStringLiteral("ID%1").arg(sensor);
}

SensorAlarmSettings LoadSensorAlarmSettings(const INIFILE& file, int sensor,
                                            QStringList* problems) {
    const QString section = AlarmSection(sensor);
    const auto get = [&](const QString& key) { return file.GetString(section, key, QString()); };
    QStringList found;
    const SensorAlarmSettings settings =
        ParseAlarmTexts({get(kClassKey), get(kZonesKey), get(kBaselineKey), get(kAlarmKey),
                         get(kTripKey), get(kDelayKey), get(kTempAlarmKey), get(kTempTripKey)},
                        &found);
    if (problems)
        for (const QString& problem : found)
            problems->append(QStringLiteral("Alarm.ini [%1] %2").arg(section, problem));
    return settings;
}

QString AlarmIniNotTextProblem(const INIFILE& file) {
    QFile raw(file.Path());
    if (!raw.open(QIODevice::ReadOnly)) return QString();
    const QByteArray bytes = raw.readAll();
    if (!bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF") && !bytes.contains('\0'))
        return QString();
    return QCoreApplication::translate(
               "AlarmSettings",
               "%1 未读取：文件为 UTF-16 编码或含二进制内容（NUL 字节），报警设置全部按默认值；"
               "请以 UTF-8 保存")
        .arg(QDir::toNativeSeparators(file.Path()));
}

QStringList CheckAlarmSections(const INIFILE& file) {
    // Such a file reads as no section, or as some of them: every default
    // would apply without a word.
    if (const QString problem = AlarmIniNotTextProblem(file); !problem.isEmpty()) return {problem};
    QStringList problems;
    QStringList seen;
    for (const QString& name : file.SectionNames()) {
        const QString upper = name.toUpper();
        bool known = upper == QLatin1String(kGlobalSection);
        for (int n = 1; n <= kSensorCount && !known; ++n) known = upper == AlarmSection(n);
        if (!known) {
            problems << QCoreApplication::translate(
                            "AlarmSettings", "Alarm.ini [%1] 无效：节名须为 ID1 至 ID6，该节未读取")
                            .arg(name);
        } else if (seen.contains(upper)) {
            // INIFILE takes a key from the first section of the name that has it.
            if (seen.count(upper) == 1)
                problems << QCoreApplication::translate(
                                "AlarmSettings",
                                "Alarm.ini [%1] 重复：同名的节只应有一个，各键以最先出现的为准")
                                .arg(name);
        }
        seen << upper;
    }
    return problems;
}

bool SaveSensorAlarmSettings(INIFILE& file, int sensor, const SensorAlarmSettings& settings) {
    const SensorAlarmTexts texts = FormatAlarmTexts(settings);
    // One replacement of the file: a crash never leaves half a section.
    return file.WriteStrings(AlarmSection(sensor), {{kClassKey, texts.machineClass},
                                                    {kZonesKey, texts.zones},
                                                    {kBaselineKey, texts.baseline},
                                                    {kAlarmKey, texts.alarm},
                                                    {kTripKey, texts.trip},
                                                    {kDelayKey, texts.delay},
                                                    {kTempAlarmKey, texts.tempAlarm},
                                                    {kTempTripKey, texts.tempTrip}});
}

}  // namespace orsan
