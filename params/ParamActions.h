#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ParamFields.h"

namespace orsan {

// The dialog's write buttons and its save button, by control id.
enum class ParamAction : int {
    Filters = 1097,
    Components = 1099,
    Network = 1101,
    Ratio = 1109,
    SpeedSource = 1111,
    ManualSpeed = 1104,
    SpeedMode = 1112,
    Save = 1103,
};

inline constexpr ParamAction kWriteActions[] = {
    ParamAction::Filters,     ParamAction::Components,  ParamAction::Network,   ParamAction::Ratio,
    ParamAction::SpeedSource, ParamAction::ManualSpeed, ParamAction::SpeedMode,
};

// One function-6 request of an action.
struct RegisterWrite {
    uint16_t transactionId;
    uint16_t reg;
    uint16_t value;
    bool operator==(const RegisterWrite&) const = default;
};

struct WritePlan {
    std::vector<RegisterWrite> writes;     // in sending order
    std::optional<ParamInputError> error;  // set: nothing may be sent
};

// The number fields an action writes (none for the save button).
ParamFieldSet ActionFields(ParamAction action);

// The requests of an action from the dialog's values. Every value is checked
// before any request exists, so a refused action sends nothing: a value that
// does not fit its register, a drop-down without selection, a band whose
// lower edge lies above its upper edge.
WritePlan BuildWritePlan(ParamAction action, const SensorParameters& values);

// Messages shown after an exchange.
inline constexpr const char* kWriteSucceeded =
    QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "写入成功^_^");
inline constexpr const char* kWriteFailed =
    QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "写入失败!_^");
inline constexpr const char* kSaveSucceeded =
    QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "保存成功，断电重启后新的参数和IP将生效^_^");
inline constexpr const char* kSaveFailed =
    QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "保存失败!_^");

const char* ActionMessage(ParamAction action, bool succeeded);

}  // namespace orsan
