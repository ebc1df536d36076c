#include "ParamActions.h"

#include <cstdio>

#include "ParamRegisters.h"

namespace orsan {

namespace {

std::string RangeText(int divisor) {
    char text[32];
    std::snprintf(text, sizeof text, "0 到 %g", 65535.0 / divisor);
    return text;
}

// Appends one request per field, or returns the refusal of the first value
// that does not fit its register.
std::optional<ParamInputError> AddField(std::vector<RegisterWrite>& writes, uint16_t transactionId,
                                        ParamField field, const SensorParameters& values) {
    const ParamFieldInfo& info = FieldInfo(field);
    const std::optional<uint16_t> reg = ToRegisterValue(values.fields[size_t(field)], info.divisor);
    if (!reg) {
        return ParamInputError{ParamInputError::Kind::OutOfRange,
                               std::string("“") + info.name + "”超出范围，允许范围为 " +
                                   RangeText(info.divisor) + "。未发送任何数据。"};
    }
    writes.push_back({transactionId, info.reg, *reg});
    return std::nullopt;
}

std::optional<ParamInputError> AddIndex(std::vector<RegisterWrite>& writes, uint16_t reg, int index,
                                        const char* name) {
    if (index < 0 || index >= kDropDownItemCount) {
        return ParamInputError{ParamInputError::Kind::NoSelection,
                               std::string("请选择“") + name + "”。未发送任何数据。"};
    }
    writes.push_back({1, reg, uint16_t(index)});
    return std::nullopt;
}

}  // namespace

WritePlan BuildWritePlan(ParamAction action, const SensorParameters& values) {
    WritePlan plan;
    auto& w = plan.writes;
    auto fields = [&](int first, int count) {
        for (int i = 0; i < count && !plan.error; ++i) {
            plan.error = AddField(w, uint16_t(i + 1), ParamField(first + i), values);
        }
    };

    switch (action) {
        case ParamAction::Filters:
            fields(kFieldVelocityBandLow, 6);
            break;
        case ParamAction::Components:
            fields(kFieldInnerRing, 5);
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
        case ParamAction::Ratio:
            plan.error = AddField(w, 1, kFieldTransmissionRatio, values);
            break;
        case ParamAction::SpeedSource:
            plan.error = AddIndex(w, kRegSpeedSource, values.speedSource, kSpeedSourceName);
            break;
        case ParamAction::ManualSpeed:
            plan.error = AddField(w, 1, kFieldManualSpeed, values);
            break;
        case ParamAction::SpeedMode:
            plan.error = AddIndex(w, kRegSpeedMode, values.speedMode, kSpeedModeName);
            if (!plan.error) plan.error = AddField(w, 1, kFieldRatedSpeed, values);
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
