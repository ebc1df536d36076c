#pragma once

#include <string>
#include <vector>

// The parameter core is plain C++: its texts are marked for Qt's translation
// tools by the same marker Qt defines (identical, so either may come first),
// in the dialog's context, and the dialog translates them when it shows them.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace orsan {

// The context the dialog translates the core's texts in.
inline constexpr const char* kParamTextContext = "orsan::SettingParsDlg";

// One argument of a message: a name is itself a marked source text, a
// number is shown as it is.
struct ParamTextArg {
    std::string text;
    bool isName = false;
};

// text with %1, %2 ... replaced by the arguments in order.
std::string FillParamText(const char* text, const std::vector<ParamTextArg>& args);

}  // namespace orsan
