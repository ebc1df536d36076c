#include "ZoneLook.h"

#include <QCoreApplication>

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

QColor ReadableTextOn(const QColor& back) {
    const double brightness = 0.299 * back.red() + 0.587 * back.green() + 0.114 * back.blue();
    return brightness < 128 ? QColor(255, 255, 255) : QColor(0, 0, 0);
}

QColor ZoneTextColor(Zone zone) {
    return ReadableTextOn(ZoneColor(zone));
}

QColor AlarmKindColor(AlarmKind kind) {
    switch (kind) {
        case AlarmKind::Trip:
            return ZoneColor(Zone::D);
        case AlarmKind::Lost:
            return QColor(150, 0, 150);
        default:
            return ZoneColor(Zone::C);
    }
}

QString AlarmKindCaption(AlarmKind kind) {
    switch (kind) {
        case AlarmKind::Alarm:
            return QCoreApplication::translate("ZoneLook", "ALARM 报警");
        case AlarmKind::Trip:
            return QCoreApplication::translate("ZoneLook", "TRIP 停机");
        case AlarmKind::Clear:
            return QCoreApplication::translate("ZoneLook", "CLEAR 恢复");
        case AlarmKind::Lost:
            return QCoreApplication::translate("ZoneLook", "LOST 通信中断");
        case AlarmKind::Restored:
            return QCoreApplication::translate("ZoneLook", "RESTORED 通信恢复");
    }
    return QString();
}

QString ReturnedAlarmCaption(AlarmKind kind) {
    switch (kind) {
        case AlarmKind::Trip:
            return QCoreApplication::translate("ZoneLook", "TRIP 已恢复 未确认");
        case AlarmKind::Lost:
            return QCoreApplication::translate("ZoneLook", "LOST 已恢复 未确认");
        default:
            return QCoreApplication::translate("ZoneLook", "ALARM 已恢复 未确认");
    }
}

QString ZoneCaption(Zone zone, const QString& machineClass) {
    const QString letter = zone == Zone::None ? QStringLiteral("--") : ZoneText(zone);
    QString caption = QCoreApplication::translate("ZoneLook", "%1区").arg(letter);
    if (!machineClass.isEmpty()) caption += QLatin1Char(' ') + machineClass;
    return caption;
}

QString ZoneStyleSheet(Zone zone) {
    const QColor back = ZoneColor(zone);
    const QColor text = ZoneTextColor(zone);
    return QStringLiteral("background-color: %1; color: %2; border: 1px solid rgb(96, 96, 96);")
        .arg(back.name(), text.name());
}

}  // namespace orsan
