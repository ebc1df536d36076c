#include "ServerStatusButton.h"

#include "StoreStatusText.h"

namespace orsan {

ServerStatusButton::ServerStatusButton(QWidget* parent) : QPushButton(parent) {
    setObjectName(QStringLiteral("serverStatus"));
    setAutoDefault(false);
    setFlat(true);
    Show(store::StoreStatus{});
}

void ServerStatusButton::Show(const store::StoreStatus& status) {
    const QString line = StoreStatusLine(status);
    if (text() != line) setText(line);
    QString tip = QStringLiteral("数据服务器设置");
    if (!status.server.empty())
        tip += QStringLiteral("\n服务器: ") + QString::fromStdString(status.server);
    if (status.state == store::StoreState::Retrying)
        tip += QStringLiteral("\n最近错误: ") + QString::fromStdString(status.lastError);
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
