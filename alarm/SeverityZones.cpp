#include "SeverityZones.h"

namespace orsan {

namespace {

struct ClassRow {
    const char* name;
    ZoneBoundaries boundaries;
};

constexpr ClassRow kClassTable[] = {
    {"1R", {2.3, 4.5, 7.1}},
    {"1F", {3.5, 7.1, 11.0}},
    {"2R", {1.4, 2.8, 4.5}},
    {"2F", {2.3, 4.5, 7.1}},
};

}  // namespace

std::optional<ZoneBoundaries> BoundariesOfClass(const QString& machineClass) {
    const QString name = machineClass.trimmed();
    for (const ClassRow& row : kClassTable) {
        if (name.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0) return row.boundaries;
    }
    return std::nullopt;
}

WorstVelocity WorstVelocityOf(const MeasurementRecord& record) {
    const float velocities[3] = {record.Vel_X, record.Vel_Y, record.Vel_Z};
    WorstVelocity worst{0, velocities[0]};
    for (int axis = 1; axis < 3; ++axis)
        if (velocities[axis] > worst.value) worst = {axis, velocities[axis]};
    return worst;
}

QString ZoneText(Zone zone) {
    if (zone == Zone::None) return QString();
    return QString(QLatin1Char(char(zone)));
}

}  // namespace orsan
