#include "LinkNotice.h"

#include <QDateTime>

namespace orsan {

QString LinkNoticeText(const SensorLink& link) {
    QString cause;
    switch (link.state) {
        case LinkState::Ok:
            return QString();
        case LinkState::Stale:
            cause = QStringLiteral("通信中断");
            break;
        case LinkState::Never:
            cause = QStringLiteral("未连接");
            break;
        case LinkState::Paused:
            cause = QStringLiteral("轮询已暂停");
            break;
    }
    if (link.lastGoodReadMs == 0) return cause + QStringLiteral("\n尚无有效读数");
    const QString when = QDateTime::fromMSecsSinceEpoch(link.lastGoodReadMs)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return cause + QStringLiteral("\n最后有效读数 ") + when;
}

}  // namespace orsan
