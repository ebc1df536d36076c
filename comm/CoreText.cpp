#include "CoreText.h"

#include <atomic>

namespace orsan {

namespace {
std::atomic<CoreText::Lookup> installed{nullptr};
}  // namespace

void CoreText::Install(Lookup lookup) {
    installed = lookup;
}

CoreText CoreText::translate(const char* context, const char* source) {
    const Lookup lookup = installed.load();
    return CoreText(lookup ? lookup(context, source) : std::string(source));
}

CoreText CoreText::With(std::initializer_list<std::string_view> values) && {
    std::string filled;
    filled.reserve(text_.size());
    for (size_t k = 0; k < text_.size(); ++k) {
        const size_t n = k + 1 < text_.size() ? size_t(text_[k + 1] - '0') : 0;
        if (text_[k] == '%' && n >= 1 && n <= 9 && n <= values.size()) {
            filled.append(values.begin()[n - 1]);
            ++k;
        } else {
            filled.push_back(text_[k]);
        }
    }
    return CoreText(std::move(filled));
}

}  // namespace orsan
