#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace orsan {

enum class ParamNoticeKind {
    Result,   // the outcome of an exchange
    Refusal,  // an action refused before anything was sent
};

// Shows one message of the parameter dialog: a modal message box owned by
// owner, OK button only, caption = the application's name.
using ParamNotifier = std::function<void(QWidget* owner, const QString& caption,
                                         const QString& text, ParamNoticeKind kind)>;

void NotifyParam(QWidget* owner, const QString& text, ParamNoticeKind kind);

// Installs another notifier (tests record instead of opening a box) and
// returns the previous one. An empty notifier restores the message box.
ParamNotifier ReplaceParamNotifier(ParamNotifier notifier);

// The message box that NotifyParam shows unless replaced.
void ShowParamMessageBox(QWidget* owner, const QString& caption, const QString& text,
                         ParamNoticeKind kind);

}  // namespace orsan
