#include <gtest/gtest.h>

#include <QDateTime>

#include "LinkNotice.h"

namespace orsan {
namespace {

TEST(LinkNotice, SaysWhyAndSinceWhen) {
    const QDateTime read = QDateTime(QDate(2026, 12, 7), QTime(9, 40, 12, 345));
    const int64_t readMs = read.toMSecsSinceEpoch();
    struct Case {
        SensorLink link;
        const char* text;
    };
    const Case cases[] = {
        {{LinkState::Ok, readMs}, ""},
        {{LinkState::Stale, readMs}, "通信中断\n最后有效读数 2026-12-07 09:40:12"},
        {{LinkState::Paused, readMs}, "轮询已暂停\n最后有效读数 2026-12-07 09:40:12"},
        {{LinkState::Paused, 0}, "轮询已暂停\n尚无有效读数"},
        {{LinkState::Never, 0}, "未连接\n尚无有效读数"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinkNoticeText(c.link), QString::fromUtf8(c.text)) << c.text;
}

}  // namespace
}  // namespace orsan
