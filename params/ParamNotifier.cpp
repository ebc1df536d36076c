#include "ParamNotifier.h"

#include "MessageDlg.h"

namespace orsan {

void NotifyParam(QWidget* owner, const QString& text, ParamNoticeKind kind) {
    ShowNotice(owner,
               kind == ParamNoticeKind::Refusal ? QMessageBox::Warning : QMessageBox::Information,
               text);
}

}  // namespace orsan
