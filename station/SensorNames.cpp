#include "SensorNames.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace orsan {

namespace {
const QString kSensorSection = QStringLiteral("SENSOR");
}

QString NameKey(int sensor) {
    return QStringLiteral("ID%1NAME").arg(sensor);
}

SensorNames LoadSensorNames(const INIFILE& config) {
    SensorNames names;
    for (int n = 1; n <= kSensorCount; ++n)
        names[size_t(n - 1)] = config.GetString(kSensorSection, NameKey(n), QString()).trimmed();
    return names;
}

bool SaveSensorNames(INIFILE& config, const SensorNames& names) {
    QList<std::pair<QString, QString>> entries;
    for (int n = 1; n <= kSensorCount; ++n)
        entries.append({NameKey(n), names[size_t(n - 1)].trimmed()});
    return config.WriteStrings(kSensorSection, entries);
}

QString SensorTabCaption(int sensor, const QString& name) {
    if (name.isEmpty())
        return QCoreApplication::translate("SensorNames", "传感器【%1】").arg(sensor);
    return SensorTitle(sensor, name);
}

QString SensorTitle(int sensor, const QString& name) {
    if (name.isEmpty()) return QCoreApplication::translate("SensorNames", "传感器%1").arg(sensor);
    // Plain concatenation: arg() would rewrite a "%1" inside the name.
    return QStringLiteral("%1# ").arg(sensor) + name;
}

QString FileNameSuffix(const QString& name, int maxBytes) {
    if (name.isEmpty()) return QString();
    QString safe = QStringLiteral("_");
    qsizetype bytes = 1;
    for (qsizetype i = 0; i < name.size(); ++i) {
        // A character outside the basic plane is two QChars: kept or cut whole.
        const qsizetype length = name[i].isHighSurrogate() && i + 1 < name.size() ? 2 : 1;
        QString piece = name.mid(i, length);
        const char16_t c = piece[0].unicode();
        if (c < 0x20 || (c >= 0x7f && c <= 0x9f) ||
            QStringLiteral("/\\:*?\"<>|").contains(piece[0]))
            piece = QStringLiteral("_");
        bytes += QFile::encodeName(piece).size();
        if (bytes > maxBytes) break;
        safe += piece;
        i += length - 1;
    }
    return safe.size() > 1 ? safe : QString();
}

std::string JsonName(const QString& name) {
    if (name.isEmpty()) return "null";
    std::string text = "\"";
    for (const char c : name.toStdString()) {
        switch (c) {
            case '"':
                text += "\\\"";
                break;
            case '\\':
                text += "\\\\";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    text += escaped;
                } else {
                    text += c;
                }
        }
    }
    return text + '"';
}

}  // namespace orsan
