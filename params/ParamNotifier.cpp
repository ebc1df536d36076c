#include "ParamNotifier.h"

#include <QMessageBox>

#include "DesktopShell.h"

namespace orsan {

namespace {

ParamNotifier& Storage() {
    static ParamNotifier notifier;
    return notifier;
}

}  // namespace

void ShowParamMessageBox(QWidget* owner, const QString& caption, const QString& text,
                         ParamNoticeKind kind) {
    QMessageBox box(
        kind == ParamNoticeKind::Refusal ? QMessageBox::Warning : QMessageBox::Information, caption,
        text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("paramMessageBox"));
    box.exec();
}

void NotifyParam(QWidget* owner, const QString& text, ParamNoticeKind kind) {
    const QString caption = ApplicationName();
    if (Storage()) {
        Storage()(owner, caption, text, kind);
    } else {
        ShowParamMessageBox(owner, caption, text, kind);
    }
}

ParamNotifier ReplaceParamNotifier(ParamNotifier notifier) {
    ParamNotifier previous = std::move(Storage());
    Storage() = std::move(notifier);
    return previous;
}

}  // namespace orsan
