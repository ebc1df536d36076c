#include "StoreStatusText.h"

#include <QCoreApplication>

namespace orsan {

namespace {
QString BacklogText(const store::StoreStatus& status) {
    QString text;
    if (status.backlog >= 0)
        text =
            QCoreApplication::translate("StoreStatusText", " · 待发送 %1 行").arg(status.backlog);
    if (status.conflicts > 0)
        text +=
            QCoreApplication::translate("StoreStatusText", " · 冲突 %1 行").arg(status.conflicts);
    if (!status.streamProblems.empty())
        text += QCoreApplication::translate("StoreStatusText", " · 部分未发送");
    return text;
}

QString StreamsText(const store::StoreStatus& status) {
    if (status.streamProblems.empty()) return QString();
    return QStringLiteral("; ") + QString::fromStdString(status.streamProblems);
}
}  // namespace

QString StoreStatusLine(const store::StoreStatus& status) {
    switch (status.state) {
        case store::StoreState::NotConfigured:
            return QCoreApplication::translate("StoreStatusText", "服务器: 未配置");
        case store::StoreState::Connecting:
            return QCoreApplication::translate("StoreStatusText", "服务器: 连接中") +
                   BacklogText(status);
        case store::StoreState::Connected:
            return QCoreApplication::translate("StoreStatusText", "服务器: 已连接") +
                   BacklogText(status);
        case store::StoreState::Retrying:
            return QCoreApplication::translate("StoreStatusText", "服务器: 重试中") +
                   BacklogText(status);
        case store::StoreState::LeftToRecorder:
            return QCoreApplication::translate("StoreStatusText", "服务器: 由记录程序发送");
    }
    return QString();
}

QString StoreChangeMessage(const store::StoreStatus& status) {
    if (status.state == store::StoreState::Connected)
        return QStringLiteral("server: connected to %1")
                   .arg(QString::fromStdString(status.server)) +
               StreamsText(status);
    if (status.state == store::StoreState::Connecting)
        return QStringLiteral("server: connecting") + StreamsText(status);
    return QStringLiteral("server: %1 (retrying, backlog %2 rows)")
               .arg(QString::fromStdString(status.lastError))
               .arg(status.backlog < 0 ? 0 : status.backlog) +
           StreamsText(status);
}

QString StoreConflictMessage(const store::StoreStatus& status) {
    return QCoreApplication::translate(
               "StoreStatusText",
               "服务器: %1 条读数与服务器上同一站点、时间和传感器的已有记录不同，"
               "已保存在表 readings_conflicts 中")
        .arg(status.conflicts);
}

}  // namespace orsan
