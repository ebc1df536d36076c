#include "OverviewPage.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

#include "DialogUnits.h"
#include "SensorEndpoint.h"

namespace orsan {

namespace {
constexpr int kColumns = 3;
constexpr int kRows = 2;
constexpr int kGap = 8;
}  // namespace

OverviewPage::OverviewPage(QWidget* parent) : QWidget(parent) {
    setFont(DialogFont());
    // The size of the other pages, so the tab control places it alike.
    resize(DialogUnits(font()).Size(548, 238));
    for (int n = 1; n <= kSensorCount; ++n) {
        auto* tile = new MachineTile(n, this);
        connect(tile, &MachineTile::clicked, this, &OverviewPage::machineChosen);
        tile->hide();
        tiles_[size_t(n - 1)] = tile;
    }
    empty_ = texts_.Text(new QLabel(this),
                         QT_TR_NOOP("尚未设置传感器地址：请在上方填写传感器IP后点击“修改”。"));
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    LayOut();
}

void OverviewPage::SetMachines(const SensorNames& names,
                               const std::array<uint32_t, kSensorCount>& addresses) {
    for (int i = 0; i < kSensorCount; ++i) {
        configured_[size_t(i)] = addresses[size_t(i)] != 0;
        tiles_[size_t(i)]->SetMachine(names[size_t(i)],
                                      QString::fromStdString(FormatAddress(addresses[size_t(i)])));
    }
    LayOut();
}

void OverviewPage::ShowReading(int sensor, const LiveRow& row, LinkState link, Zone zone) {
    TileReading reading;
    reading.link = link;
    reading.velocity = std::max({row[kSlotVelX], row[kSlotVelY], row[kSlotVelZ]});
    reading.temperature = row[kSlotTShell];
    reading.zone = zone;
    tiles_[size_t(sensor - 1)]->SetReading(reading);
}

void OverviewPage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) texts_.Retranslate();
    QWidget::changeEvent(event);
}

void OverviewPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void OverviewPage::LayOut() {
    const int tileWidth = (width() - (kColumns + 1) * kGap) / kColumns;
    const int tileHeight = (height() - (kRows + 1) * kGap) / kRows;
    int place = 0;
    for (int i = 0; i < kSensorCount; ++i) {
        MachineTile* tile = tiles_[size_t(i)];
        if (!configured_[size_t(i)]) {
            tile->hide();
            continue;
        }
        const int column = place % kColumns;
        const int row = place / kColumns;
        tile->setGeometry(kGap + column * (tileWidth + kGap), kGap + row * (tileHeight + kGap),
                          tileWidth, tileHeight);
        tile->show();
        ++place;
    }
    empty_->setGeometry(rect().adjusted(kGap, kGap, -kGap, -kGap));
    empty_->setVisible(place == 0);
}

}  // namespace orsan
