#include <gtest/gtest.h>

#include <QImage>

#include "MachineTile.h"

namespace orsan {
namespace {

QColor PixelAt(MachineTile& tile, int x, int y) {
    return tile.grab().toImage().pixelColor(x, y);
}

TEST(MachineTile, StaleLinksGreyTheTileAndTheAlarmBandFlashesAsItIsTold) {
    MachineTile tile(3);
    tile.resize(300, 200);
    tile.SetMachine(QStringLiteral("P-103"), QStringLiteral("127.0.0.3"));
    const struct {
        LinkState link;
        const char* linkText;
        const char* velocity;
        bool greyed;
    } cases[] = {
        {LinkState::Ok, "通信正常", "4.20", false},
        {LinkState::Stale, "通信中断", "4.20", true},
        {LinkState::Never, "通信中断", "--", true},
        {LinkState::Paused, "暂停轮询", "4.20", true},
    };
    for (const auto& c : cases) {
        tile.SetReading({c.link, 4.2f, 31.0f, Zone::C});
        EXPECT_EQ(tile.LinkText(), QString::fromUtf8(c.linkText));
        EXPECT_EQ(tile.VelocityText(), c.velocity);
        EXPECT_EQ(tile.Greyed(), c.greyed);
        // The face just inside the left edge, halfway down.
        EXPECT_EQ(PixelAt(tile, 5, 100) == QColor(255, 255, 255), !c.greyed) << c.linkText;
    }

    // The band's left end, clear of its text: the alarm colour while on, the
    // tile's face while off, so a caller toggling it makes it flash.
    tile.SetReading({LinkState::Ok, 8.0f, 31.0f, Zone::D});
    const QColor red(200, 0, 0);
    tile.SetAlarm(QStringLiteral("TRIP 停机"), red, true);
    const int bandY = 200 - 8 - 200 / 14;
    EXPECT_EQ(PixelAt(tile, 12, bandY), red);
    tile.SetAlarm(QStringLiteral("TRIP 停机"), red, false);
    EXPECT_EQ(PixelAt(tile, 12, bandY), QColor(255, 255, 255));
    EXPECT_EQ(tile.AlarmText(), QString::fromUtf8("TRIP 停机"));
    // Returned, waiting only for its acknowledgement: never filled, edged
    // in its colour while lit, the tile's frame plain.
    tile.SetAlarm(QStringLiteral("TRIP 已恢复 未确认"), red, true, true);
    EXPECT_TRUE(tile.AlarmReturned());
    EXPECT_EQ(PixelAt(tile, 12, bandY), QColor(255, 255, 255));
    EXPECT_EQ(PixelAt(tile, 9, bandY), red);
    EXPECT_NE(PixelAt(tile, 2, 100), red);
    tile.SetAlarm(QString(), QColor(), false);
    EXPECT_EQ(tile.AlarmText(), QString::fromUtf8("无报警"));
}

}  // namespace
}  // namespace orsan
