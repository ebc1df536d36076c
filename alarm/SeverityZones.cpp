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

WorstVelocity WorstVelocityOf(const LiveRow& row) {
    WorstVelocity worst{0, row[kVelocitySlots[0]]};
    for (int axis = 1; axis < 3; ++axis) {
        const float value = row[kVelocitySlots[axis]];
        if (value > worst.value) worst = {axis, value};
    }
    return worst;
}

QString ZoneText(Zone zone) {
    if (zone == Zone::None) return QString();
    return QString(QLatin1Char(char(zone)));
}

}  // namespace orsan
