#include "ParamActions.h"

#include <cstdio>

#include "ParamRegisters.h"

namespace orsan {

namespace {

// A number as the messages show it.
std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// Appends one request per field, or returns the refusal of the first value
// that does not fit its register.
std::optional<ParamInputError> AddField(std::vector<RegisterWrite>& writes, uint16_t transactionId,
                                        ParamField field, const SensorParameters& values) {
    const ParamFieldInfo& info = FieldInfo(field);
    const std::optional<uint16_t> reg = ToRegisterValue(values.fields[size_t(field)], info.divisor);
    if (!reg) {
        return MakeInputError(
            ParamInputError::Kind::OutOfRange,
            QT_TRANSLATE_NOOP("orsan::SettingParsDlg",
                              "“%1”超出范围，允许范围为 0 到 %2。未发送任何数据。"),
            {{info.name, true}, {NumberText(65535.0 / info.divisor)}});
    }
    writes.push_back({transactionId, info.reg, *reg});
    return std::nullopt;
}

std::optional<ParamInputError> AddIndex(std::vector<RegisterWrite>& writes, uint16_t reg, int index,
                                        const char* name) {
    if (index < 0 || index >= kDropDownItemCount) {
        return MakeInputError(
            ParamInputError::Kind::NoSelection,
            QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "请选择“%1”。未发送任何数据。"),
            {{name, true}});
    }
    writes.push_back({1, reg, uint16_t(index)});
    return std::nullopt;
}

// The three pass bands, lower edge then upper edge.
std::optional<ParamInputError> CheckBandOrder(const SensorParameters& values) {
    for (int low = kFieldVelocityBandLow; low <= kFieldDisplacementBandLow; low += 2) {
        const float lower = values.fields[size_t(low)];
        const float upper = values.fields[size_t(low + 1)];
        if (lower > upper) {
            return MakeInputError(
                ParamInputError::Kind::BandOrder,
                QT_TRANSLATE_NOOP("orsan::SettingParsDlg",
                                  "“%1”（%2 Hz）高于“%3”（%4 Hz），请重新输入。未发送任何数据。"),
                {{FieldInfo(ParamField(low)).name, true},
                 {NumberText(double(lower))},
                 {FieldInfo(ParamField(low + 1)).name, true},
                 {NumberText(double(upper))}});
        }
    }
    return std::nullopt;
}

}  // namespace

ParamFieldSet ActionFields(ParamAction action) {
    ParamFieldSet set{};
    const auto mark = [&set](int first, int count) {
        for (int f = first; f < first + count; ++f) set[size_t(f)] = true;
    };
    switch (action) {
        case ParamAction::Filters:
            mark(kFieldVelocityBandLow, 6);
            break;
        case ParamAction::Components:
            mark(kFieldInnerRing, 5);
            break;
        case ParamAction::Ratio:
            mark(kFieldTransmissionRatio, 1);
            break;
        case ParamAction::ManualSpeed:
            mark(kFieldManualSpeed, 1);
            break;
        case ParamAction::SpeedMode:
            mark(kFieldRatedSpeed, 1);
            break;
        case ParamAction::Network:
        case ParamAction::SpeedSource:
        case ParamAction::Save:
            break;
    }
    return set;
}

WritePlan BuildWritePlan(ParamAction action, const SensorParameters& values) {
    WritePlan plan;
    auto& w = plan.writes;
    // The action's own fields in order, transaction ids counting from 1.
    auto fields = [&] {
        const ParamFieldSet own = ActionFields(action);
        uint16_t transactionId = 1;
        for (int f = 0; f < kParamFieldCount && !plan.error; ++f) {
            if (own[size_t(f)]) plan.error = AddField(w, transactionId++, ParamField(f), values);
        }
    };

    switch (action) {
        case ParamAction::Filters:
            fields();
            if (!plan.error) plan.error = CheckBandOrder(values);
            break;
        case ParamAction::Components:
        case ParamAction::Ratio:
        case ParamAction::ManualSpeed:
            fields();
            break;
        case ParamAction::Network: {
            // The sensor's firmware expects these transaction ids.
            static constexpr uint16_t kIds[8] = {1, 2, 3, 4, 5, 5, 5, 5};
            for (int a = 0; a < kParamAddressCount; ++a) {
                const auto pair = EncodeAddressPair(values.addresses[size_t(a)]);
                const uint16_t first = AddressInfo(ParamAddress(a)).firstRegister;
                w.push_back({kIds[2 * a], first, pair[0]});
                w.push_back({kIds[2 * a + 1], uint16_t(first + 1), pair[1]});
            }
            break;
        }
        case ParamAction::SpeedSource:
            plan.error = AddIndex(w, kRegSpeedSource, values.speedSource, kSpeedSourceName);
            break;
        case ParamAction::SpeedMode:
            plan.error = AddIndex(w, kRegSpeedMode, values.speedMode, kSpeedModeName);
            fields();
            break;
        case ParamAction::Save:
            w.push_back({1, kRegSaveCommand, kSaveCommandValue});
            break;
    }
    if (plan.error) w.clear();
    return plan;
}

const char* ActionMessage(ParamAction action, bool succeeded) {
    if (action == ParamAction::Save) return succeeded ? kSaveSucceeded : kSaveFailed;
    return succeeded ? kWriteSucceeded : kWriteFailed;
}

}  // namespace orsan
