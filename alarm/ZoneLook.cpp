#include "ZoneLook.h"

namespace orsan {

QColor ZoneColor(Zone zone) {
    switch (zone) {
        case Zone::A:
            return QColor(0, 170, 0);
        case Zone::B:
            return QColor(154, 205, 50);
        case Zone::C:
            return QColor(255, 140, 0);
        case Zone::D:
            return QColor(220, 0, 0);
        case Zone::None:
            break;
    }
    return QColor(160, 160, 160);
}

QString ZoneCaption(Zone zone, const QString& machineClass) {
    const QString letter = zone == Zone::None ? QStringLiteral("--") : ZoneText(zone);
    QString caption = letter + QStringLiteral("区");
    if (!machineClass.isEmpty()) caption += QLatin1Char(' ') + machineClass;
    return caption;
}

QString ZoneStyleSheet(Zone zone) {
    const QColor text = zone == Zone::D ? QColor(255, 255, 255) : QColor(0, 0, 0);
    return QStringLiteral("background-color: %1; color: %2; border: 1px solid rgb(96, 96, 96);")
        .arg(ZoneColor(zone).name(), text.name());
}

}  // namespace orsan
