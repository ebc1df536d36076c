#pragma once

#include <QString>
#include <array>
#include <optional>

#include "LiveValues.h"

namespace orsan {

// Vibration severity zones on the broadband velocity r.m.s.: A newly
// commissioned, B unrestricted long-term operation, C restricted, D damage
// likely. None: the sensor's last visit failed, so nothing can be said.
enum class Zone : char { None = 0, A = 'A', B = 'B', C = 'C', D = 'D' };

// Upper edges of zones A, B and C in mm/s, strictly rising.
struct ZoneBoundaries {
    double ab = 0;
    double bc = 0;
    double cd = 0;
    bool operator==(const ZoneBoundaries&) const = default;
};

// Machine classes: group 1 large machines (300 kW - 50 MW), group 2 medium
// ones (15 - 300 kW); R rigid, F flexible support.
inline constexpr std::array<const char*, 4> kMachineClasses = {"1R", "1F", "2R", "2F"};
inline constexpr const char* kDefaultMachineClass = "2R";

// The class's boundaries; nullopt for a name that is not a class (case is
// ignored, blanks around it too).
std::optional<ZoneBoundaries> BoundariesOfClass(const QString& machineClass);

// The velocity axes a zone is graded over.
inline constexpr std::array<const char*, 3> kVelocityAxisNames = {"Vel_X", "Vel_Y", "Vel_Z"};

// The highest velocity of a reading and its axis (0 X, 1 Y, 2 Z; the first
// one on a tie).
struct WorstVelocity {
    int axis = 0;
    float value = 0;
};
WorstVelocity WorstVelocityOf(const MeasurementRecord& record);

// Boundaries as the 32-bit floats the readings are compared with: a reading
// decoded from the register that stands for a boundary (2.80 mm/s) equals
// the boundary exactly, and is then the top of the zone below.
struct ZoneThresholds {
    float ab = 0;
    float bc = 0;
    float cd = 0;
    explicit ZoneThresholds(const ZoneBoundaries& b = {})
        : ab(float(b.ab)), bc(float(b.bc)), cd(float(b.cd)) {}
};

inline Zone GradeVelocity(float value, const ZoneThresholds& t) {
    if (value <= t.ab) return Zone::A;
    if (value <= t.bc) return Zone::B;
    if (value <= t.cd) return Zone::C;
    return Zone::D;
}

// "A" ... "D", or an empty text for None.
QString ZoneText(Zone zone);

}  // namespace orsan
