#include "ParamFields.h"

#include <charconv>
#include <cmath>

namespace orsan {

namespace {

constexpr std::array<ParamFieldInfo, kParamFieldCount> kFields{{
    {1096, 77, 1, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "振动速度带通滤波器带通频带下限")},
    {1085, 78, 1, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "振动速度带通滤波器带通频带上限")},
    {1098, 79, 1, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "加速度带通滤波器带通频带下限")},
    {1087, 80, 1, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "加速度带通滤波器带通频带上限")},
    {1100, 81, 1, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "振动位移带通滤波器带通频带下限")},
    {1089, 82, 1, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "振动位移带通滤波器带通频带上限")},
    {1091, 103, 100, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "内圈特征系数")},
    {1092, 104, 100, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "外圈特征系数")},
    {1093, 105, 100, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "滚动体特征系数")},
    {1094, 106, 100, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "保持架特征系数")},
    {1095, 107, 100, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "叶片类特征系数")},
    {1108, 120, 100, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "传感器当前传动比系数")},
    {1102, 67, 100, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "人工输入的配置转速值")},
    {1110, 132, 100, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "额定参考转速")},
}};

constexpr std::array<ParamAddressInfo, kParamAddressCount> kAddresses{{
    {1107, 111, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "网关")},
    {1106, 113, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "子网掩码")},
    {1090, 115, "DNS"},
    {1105, 117, QT_TRANSLATE_NOOP("orsan::SettingParsDlg", "传感器IP")},
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

std::string FillParamText(const char* text, const std::vector<ParamTextArg>& args) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        const size_t n = size_t(p[1] - '1');
        if (*p == '%' && p[1] >= '1' && p[1] <= '9' && n < args.size()) {
            out += args[n].text;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

ParamInputError MakeInputError(ParamInputError::Kind kind, const char* text,
                               std::vector<ParamTextArg> args) {
    std::string message = FillParamText(text, args);
    return ParamInputError{kind, std::move(message), text, std::move(args)};
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
            return MakeInputError(
                ParamInputError::Kind::NotANumber,
                QT_TRANSLATE_NOOP("orsan::SettingParsDlg",
                                  "“%1”不是有效的数字，请重新输入。未发送任何数据。"),
                {{FieldInfo(ParamField(i)).name, true}});
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
