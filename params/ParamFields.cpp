#include "ParamFields.h"

#include <charconv>
#include <cmath>

namespace orsan {

namespace {

constexpr std::array<ParamFieldInfo, kParamFieldCount> kFields{{
    {1096, 77, 1, "振动速度带通滤波器带通频带下限"},
    {1085, 78, 1, "振动速度带通滤波器带通频带上限"},
    {1098, 79, 1, "加速度带通滤波器带通频带下限"},
    {1087, 80, 1, "加速度带通滤波器带通频带上限"},
    {1100, 81, 1, "振动位移带通滤波器带通频带下限"},
    {1089, 82, 1, "振动位移带通滤波器带通频带上限"},
    {1091, 103, 100, "内圈特征系数"},
    {1092, 104, 100, "外圈特征系数"},
    {1093, 105, 100, "滚动体特征系数"},
    {1094, 106, 100, "保持架特征系数"},
    {1095, 107, 100, "叶片类特征系数"},
    {1108, 120, 100, "传感器当前传动比系数"},
    {1102, 67, 100, "人工输入的配置转速值"},
    {1110, 132, 100, "额定参考转速"},
}};

constexpr std::array<ParamAddressInfo, kParamAddressCount> kAddresses{{
    {1107, 111, "网关"},
    {1106, 113, "子网掩码"},
    {1090, 115, "DNS"},
    {1105, 117, "传感器IP"},
}};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

const ParamFieldInfo& FieldInfo(ParamField field) {
    return kFields.at(size_t(field));
}

const ParamAddressInfo& AddressInfo(ParamAddress address) {
    return kAddresses.at(size_t(address));
}

std::optional<float> ParseFieldNumber(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first < last && IsBlank(*first)) ++first;
    while (last > first && IsBlank(last[-1])) --last;
    // from_chars takes no leading plus; a user may type one.
    if (first < last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    if (first == last) return std::nullopt;

    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    const float narrowed = float(value);
    if (!std::isfinite(narrowed)) return std::nullopt;
    return narrowed;
}

std::optional<ParamInputError> TakeFormInput(const ParamFormInput& input, SensorParameters& values,
                                             const ParamFieldSet& required) {
    std::array<float, kParamFieldCount> taken = values.fields;
    for (int i = 0; i < kParamFieldCount; ++i) {
        const std::optional<float> number = ParseFieldNumber(input.texts[size_t(i)]);
        if (!number && !required[size_t(i)]) continue;
        if (!number) {
            return ParamInputError{ParamInputError::Kind::NotANumber,
                                   std::string("“") + FieldInfo(ParamField(i)).name +
                                       "”不是有效的数字，请重新输入。未发送任何数据。"};
        }
        taken[size_t(i)] = *number;
    }
    values.fields = taken;
    values.addresses = input.addresses;
    values.speedSource = input.speedSource;
    values.speedMode = input.speedMode;
    return std::nullopt;
}

}  // namespace orsan
