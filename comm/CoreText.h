#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Marks a text of a table for the translation tools; it is translated where it
// is shown, with CoreText::translate. The same definition as Qt's own, so a
// file that sees both compiles.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace orsan {

// A user-visible text of the Qt-free core. The core cannot call Qt, yet its
// messages reach the operator in the station's language: the text is written
// as CoreText::translate("Context", "中文"), the spelling Qt's lupdate
// collects, and looked up through the function the application installs at
// start. Until then (and in the core's own tests) the Chinese source comes
// back as it is.
class CoreText {
public:
    using Lookup = std::string (*)(const char* context, const char* source);

    // Once at start, before any thread that makes messages.
    static void Install(Lookup lookup);

    // Lower case: the name lupdate looks for.
    static CoreText translate(const char* context, const char* source);

    // Puts values[N-1] in place of every "%N" (N from 1 to 9), all in one
    // pass, so a translation may order them its own way and a value that
    // holds "%2" itself stays as it is.
    CoreText With(std::initializer_list<std::string_view> values) &&;

    const std::string& Str() const { return text_; }
    operator std::string() && { return std::move(text_); }

private:
    explicit CoreText(std::string text) : text_(std::move(text)) {}
    std::string text_;
};

}  // namespace orsan
