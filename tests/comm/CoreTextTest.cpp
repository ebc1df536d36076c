#include <gtest/gtest.h>

#include "CoreText.h"

namespace orsan {
namespace {

TEST(CoreText, ValuesFillTheirPlacesInOnePassWhateverTheirOrder) {
    const struct {
        const char* text;
        std::initializer_list<std::string_view> values;
        const char* filled;
    } cases[] = {
        {"服务器 %1 秒无应答", {"30"}, "服务器 30 秒无应答"},
        {"%2 before %1", {"a", "b"}, "b before a"},
        {"%1 and %1 again", {"x"}, "x and x again"},
        {"path %1: %2", {"/tmp/%2", "gone"}, "path /tmp/%2: gone"},  // a value is never read again
        {"%1 of %3", {"a"}, "a of %3"},                              // no value: stays
        {"100% sure %0 %", {"a"}, "100% sure %0 %"},
        {"", {"a"}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CoreText::translate("Test", c.text).With(c.values).Str(), c.filled) << c.text;
    }
}

TEST(CoreText, TheInstalledLookupGetsContextAndSourceAndItsAnswerIsFilled) {
    EXPECT_EQ(CoreText::translate("Test", "采集完成").Str(), "采集完成");
    CoreText::Install([](const char* context, const char* source) {
        return std::string(context) + "|" + source + "|%1";
    });
    const std::string text = CoreText::translate("WaveCapture", "采集完成").With({"v"});
    CoreText::Install(nullptr);
    EXPECT_EQ(text, "WaveCapture|采集完成|v");
    EXPECT_EQ(CoreText::translate("Test", "采集完成").Str(), "采集完成");
}

}  // namespace
}  // namespace orsan
