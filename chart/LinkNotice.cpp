#include "LinkNotice.h"

#include <QCoreApplication>
#include <QDateTime>

namespace orsan {

QString LinkNoticeText(const SensorLink& link) {
    QString cause;
    switch (link.state) {
        case LinkState::Ok:
            return QString();
        case LinkState::Stale:
            cause = QCoreApplication::translate("orsan::LinkNotice", "通信中断");
            break;
        case LinkState::Never:
            cause = QCoreApplication::translate("orsan::LinkNotice", "未连接");
            break;
        case LinkState::Paused:
            cause = QCoreApplication::translate("orsan::LinkNotice", "轮询已暂停");
            break;
    }
    if (link.lastGoodReadMs == 0)
        return cause + QCoreApplication::translate("orsan::LinkNotice", "\n尚无有效读数");
    const QString when = QDateTime::fromMSecsSinceEpoch(link.lastGoodReadMs)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return cause + QCoreApplication::translate("orsan::LinkNotice", "\n最后有效读数 ") + when;
}

}  // namespace orsan
