#include "ServerStatusButton.h"

#include <QEvent>

#include "StoreStatusText.h"

namespace orsan {

ServerStatusButton::ServerStatusButton(QWidget* parent) : QPushButton(parent) {
    setObjectName(QStringLiteral("serverStatus"));
    setAutoDefault(false);
    setFlat(true);
    Show(store::StoreStatus{});
}

void ServerStatusButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) Show(store::StoreStatus{shown_});
    QPushButton::changeEvent(event);
}

void ServerStatusButton::Show(const store::StoreStatus& status) {
    shown_ = status;
    const QString line = StoreStatusLine(status);
    if (text() != line) setText(line);
    QString tip = tr("数据服务器设置");
    if (!status.server.empty())
        tip += tr("\n服务器: %1").arg(QString::fromStdString(status.server));
    if (status.state == store::StoreState::Retrying)
        tip += tr("\n最近错误: %1").arg(QString::fromStdString(status.lastError));
    if (!status.streamProblems.empty())
        tip += QStringLiteral("\n") + QString::fromStdString(status.streamProblems);
    if (toolTip() != tip) setToolTip(tip);
    const QString style =
        status.state == store::StoreState::Retrying || !status.streamProblems.empty()
            ? QStringLiteral("color: rgb(255, 0, 0);")
            : QString();
    if (styleSheet() != style) setStyleSheet(style);
}

}  // namespace orsan
