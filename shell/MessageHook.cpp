#include "MessageHook.h"

namespace orsan {

namespace {
ScopedMessageHook* gActiveHook = nullptr;
}

ScopedMessageHook::ScopedMessageHook(bool answer) : answer_(answer), previous_(gActiveHook) {
    gActiveHook = this;
}

ScopedMessageHook::~ScopedMessageHook() {
    gActiveHook = previous_;
}

void ScopedMessageHook::Clear() {
    messages_.clear();
    questions_.clear();
    all_.clear();
    notices_.clear();
}

ScopedMessageHook* ScopedMessageHook::Active() {
    return gActiveHook;
}

void ScopedMessageHook::RecordMessage(const QString& text) {
    messages_.append(text);
    all_.append(text);
}

void ScopedMessageHook::RecordNotice(const HookedNotice& notice) {
    notices_.push_back(notice);
}

bool ScopedMessageHook::RecordQuestion(const QString& text) {
    questions_.append(text);
    all_.append(text);
    return answer_;
}

}  // namespace orsan
