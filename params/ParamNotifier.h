#pragma once

#include <QString>

class QWidget;

namespace orsan {

enum class ParamNoticeKind {
    Result,   // the outcome of an exchange
    Refusal,  // an action refused before anything was sent
};

// Shows one message of the parameter dialog through ShowNotice: a modal
// message box owned by owner, OK only, caption = the application's name; an
// information box for results, a warning for refusals.
void NotifyParam(QWidget* owner, const QString& text, ParamNoticeKind kind);

}  // namespace orsan
