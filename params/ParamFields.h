#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ParamText.h"

namespace orsan {

// The number fields of the parameter dialog, in the order the dialog takes
// them from its edit boxes.
enum ParamField : int {
    kFieldVelocityBandLow = 0,   // 1096
    kFieldVelocityBandHigh,      // 1085
    kFieldAccelerationBandLow,   // 1098
    kFieldAccelerationBandHigh,  // 1087
    kFieldDisplacementBandLow,   // 1100
    kFieldDisplacementBandHigh,  // 1089
    kFieldInnerRing,             // 1091
    kFieldOuterRing,             // 1092
    kFieldRollingElement,        // 1093
    kFieldCage,                  // 1094
    kFieldBlade,                 // 1095
    kFieldTransmissionRatio,     // 1108
    kFieldManualSpeed,           // 1102
    kFieldRatedSpeed,            // 1110
    kParamFieldCount
};

// The address controls.
enum ParamAddress : int {
    kAddressGateway = 0,  // 1107
    kAddressSubnetMask,   // 1106
    kAddressDns,          // 1090
    kAddressSensor,       // 1105
    kParamAddressCount
};

struct ParamFieldInfo {
    int controlId;
    uint16_t reg;
    // Register value = shown value * divisor (1 or 100).
    int divisor;
    // How the user knows the field (label text, without the colon).
    const char* name;
};

const ParamFieldInfo& FieldInfo(ParamField field);

struct ParamAddressInfo {
    int controlId;
    uint16_t firstRegister;
    const char* name;
};

const ParamAddressInfo& AddressInfo(ParamAddress address);

inline constexpr int kControlSpeedSource = 1124;
inline constexpr int kControlSpeedMode = 1125;
inline constexpr uint16_t kRegSpeedSource = 130;
inline constexpr uint16_t kRegSpeedMode = 131;
inline constexpr int kDropDownItemCount = 2;
inline constexpr const char* kSpeedSourceName =
    QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "传感器内部转速信号源");
inline constexpr const char* kSpeedModeName =
    QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "转速自动识别工况模式");

// What the dialog holds between actions. A drop-down index of -1 means the
// sensor reported a value that is not one of the items.
struct SensorParameters {
    std::array<float, kParamFieldCount> fields{};
    std::array<uint32_t, kParamAddressCount> addresses{};  // octet 1 in the low byte
    int speedSource = 0;
    int speedMode = 0;
};

// Why an action was refused before anything was sent.
struct ParamInputError {
    enum class Kind { NotANumber, OutOfRange, NoSelection, BandOrder };
    Kind kind;
    std::string message;  // names the field, ready to show
    // The same message as a marked source text and its arguments, for the
    // dialog to show in the language installed.
    const char* text = nullptr;
    std::vector<ParamTextArg> args;
};

// The refusal with its message filled in.
ParamInputError MakeInputError(ParamInputError::Kind kind, const char* text,
                               std::vector<ParamTextArg> args);

// Parses a number field: optional blanks, a decimal number, optional blanks.
// Empty text, "nan", "inf" and trailing garbage are not numbers.
std::optional<float> ParseFieldNumber(const std::string& text);

// Everything the dialog's controls hold at the moment of a write.
struct ParamFormInput {
    std::array<std::string, kParamFieldCount> texts;
    std::array<uint32_t, kParamAddressCount> addresses{};
    int speedSource = 0;
    int speedMode = 0;
};

using ParamFieldSet = std::array<bool, kParamFieldCount>;
inline constexpr ParamFieldSet kAllParamFields = [] {
    ParamFieldSet all{};
    all.fill(true);
    return all;
}();

// Takes the fields into values. A required field that is not a number
// refuses the whole take, naming it, and leaves values untouched; any other
// field that is not a number keeps the value held before, so a blank field
// of one group never blocks a write of another.
std::optional<ParamInputError> TakeFormInput(const ParamFormInput& input, SensorParameters& values,
                                             const ParamFieldSet& required = kAllParamFields);

}  // namespace orsan
