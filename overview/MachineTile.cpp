#include "MachineTile.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "SensorNames.h"
#include "ZoneLook.h"

namespace orsan {

namespace {

const QColor kFace(255, 255, 255);
const QColor kGreyFace(226, 226, 226);
const QColor kInk(20, 20, 20);
const QColor kGreyInk(140, 140, 140);
const QColor kQuiet(90, 90, 90);
const QColor kEdge(150, 150, 150);
const QColor kLinkLost(200, 0, 0);
const QColor kNoAlarmBand(232, 245, 232);

// A font of the widget's family whose text is `pixels` tall.
QFont FontOfHeight(const QFont& base, int pixels, bool bold) {
    QFont font = base;
    font.setPixelSize(std::max(6, pixels));
    font.setBold(bold);
    return font;
}

}  // namespace

MachineTile::MachineTile(int sensor, QWidget* parent) : QWidget(parent), sensor_(sensor) {
    setObjectName(QStringLiteral("tile%1").arg(sensor));
    setCursor(Qt::PointingHandCursor);
    RetranslateTexts();
}

void MachineTile::RetranslateTexts() {
    setToolTip(tr("点击打开该传感器页面"));
    // The texts are drawn from the state at every paint.
    update();
}

void MachineTile::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QWidget::changeEvent(event);
}

QString MachineTile::AlarmText() const {
    return alarmText_.isEmpty() ? tr("无报警") : alarmText_;
}

void MachineTile::SetMachine(const QString& name, const QString& address) {
    name_ = name;
    address_ = address;
    update();
}

void MachineTile::SetReading(const TileReading& reading) {
    // Every refresh brings one; most change nothing on the tile.
    if (reading == reading_) return;
    reading_ = reading;
    update();
}

void MachineTile::SetAlarm(const QString& text, const QColor& background, bool flashOn,
                           bool returned) {
    if (text == alarmText_ && background == alarmColor_ && flashOn == alarmOn_ &&
        returned == alarmReturned_)
        return;
    alarmText_ = text;
    alarmColor_ = background;
    alarmOn_ = flashOn;
    alarmReturned_ = returned;
    update();
}

QString MachineTile::Title() const {
    return name_.isEmpty() ? SensorTitle(sensor_, QString()) : name_;
}

QString MachineTile::AddressText() const {
    // An unnamed machine's title is already "传感器n".
    if (name_.isEmpty()) return address_;
    return tr("传感器%1  %2").arg(sensor_).arg(address_);
}

QString MachineTile::VelocityText() const {
    if (reading_.link == LinkState::Never) return QStringLiteral("--");
    return QString::number(double(reading_.velocity), 'f', 2);
}

QString MachineTile::TemperatureText() const {
    const QString value = reading_.link == LinkState::Never
                              ? QStringLiteral("--")
                              : QString::number(double(reading_.temperature), 'f', 1);
    return tr("温度 %1 ℃").arg(value);
}

QString MachineTile::LinkText() const {
    switch (reading_.link) {
        case LinkState::Ok:
            return tr("通信正常");
        case LinkState::Paused:
            return tr("暂停轮询");
        case LinkState::Stale:
        case LinkState::Never:
            break;
    }
    return tr("通信中断");
}

void MachineTile::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const bool grey = Greyed();
    const QColor ink = grey ? kGreyInk : kInk;
    const QRectF frame = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    const bool alarmShown = !alarmText_.isEmpty() && alarmOn_ && !alarmReturned_;
    p.setPen(QPen(alarmShown ? alarmColor_ : kEdge, alarmShown ? 3 : 1));
    p.setBrush(grey ? kGreyFace : kFace);
    p.drawRoundedRect(frame, 6, 6);

    const int w = width();
    const int h = height();
    const int pad = std::max(6, h / 24);
    const int titleHeight = h / 7;
    const int band = h / 7;

    // Zone letter in the top right corner on its colour.
    const int zoneSide = titleHeight + h / 12;
    const QRect zoneBox(w - pad - zoneSide, pad, zoneSide, zoneSide);
    p.setPen(Qt::NoPen);
    p.setBrush(ZoneColor(reading_.zone));
    p.drawRoundedRect(zoneBox, 4, 4);
    p.setPen(ZoneTextColor(reading_.zone));
    p.setFont(FontOfHeight(font(), zoneSide * 2 / 3, true));
    p.drawText(zoneBox, Qt::AlignCenter,
               reading_.zone == Zone::None ? QStringLiteral("-") : ZoneText(reading_.zone));

    // Name, shortened only on the tile (the tool tip of the page's tab holds it).
    const QRect titleBox(pad, pad, zoneBox.left() - 2 * pad, titleHeight);
    p.setPen(ink);
    p.setFont(FontOfHeight(font(), titleHeight * 4 / 5, true));
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(Title(), Qt::ElideRight, titleBox.width()));
    const QRect addressBox(pad, titleBox.bottom() + 2, titleBox.width(), h / 11);
    p.setPen(grey ? kGreyInk : kQuiet);
    p.setFont(FontOfHeight(font(), addressBox.height() * 4 / 5, false));
    p.drawText(addressBox, Qt::AlignLeft | Qt::AlignVCenter, AddressText());

    // The overall velocity: the number an operator reads from across the room.
    const int bandTop = h - pad - band;
    const int lineHeight = h / 10;
    const int valueTop = std::max(addressBox.bottom(), zoneBox.bottom());
    const QRect valueBox(pad, valueTop + pad / 2, w - 2 * pad,
                         bandTop - lineHeight - pad - valueTop);
    p.setPen(ink);
    QFont big = FontOfHeight(font(), valueBox.height() * 3 / 4, true);
    p.setFont(big);
    const QString velocity = VelocityText();
    const int numberWidth = p.fontMetrics().horizontalAdvance(velocity);
    QFont unitFont = FontOfHeight(font(), valueBox.height() / 4, false);
    const int unitWidth = QFontMetrics(unitFont).horizontalAdvance(QStringLiteral(" mm/s"));
    const int left =
        valueBox.left() + std::max(0, (valueBox.width() - numberWidth - unitWidth) / 2);
    p.drawText(QRect(left, valueBox.top(), numberWidth, valueBox.height()),
               Qt::AlignLeft | Qt::AlignVCenter, velocity);
    p.setFont(unitFont);
    p.drawText(QRect(left + numberWidth, valueBox.top(), unitWidth, valueBox.height() * 3 / 4),
               Qt::AlignLeft | Qt::AlignBottom, QStringLiteral(" mm/s"));

    // Temperature on the left, link state on the right.
    const QRect lineBox(pad, bandTop - lineHeight - pad / 2, w - 2 * pad, lineHeight);
    p.setFont(FontOfHeight(font(), lineHeight * 4 / 5, false));
    p.setPen(ink);
    p.drawText(lineBox, Qt::AlignLeft | Qt::AlignVCenter, TemperatureText());
    p.setPen(reading_.link == LinkState::Ok ? QColor(0, 130, 0) : kLinkLost);
    p.setFont(FontOfHeight(font(), lineHeight * 4 / 5, reading_.link != LinkState::Ok));
    p.drawText(lineBox, Qt::AlignRight | Qt::AlignVCenter, LinkText());

    // Alarm band along the bottom.
    const QRect bandBox(pad, bandTop, w - 2 * pad, band);
    const bool hasAlarm = !alarmText_.isEmpty();
    const bool filled = hasAlarm && alarmOn_ && !alarmReturned_;
    const QColor bandFace = filled     ? alarmColor_
                            : hasAlarm ? (grey ? kGreyFace : kFace)
                                       : (grey ? kGreyFace : kNoAlarmBand);
    const bool wideEdge = hasAlarm && alarmOn_ && alarmReturned_;
    p.setPen(QPen(hasAlarm ? alarmColor_ : kEdge, wideEdge ? 3 : 1));
    p.setBrush(bandFace);
    const double inset = wideEdge ? 1.5 : 0.5;
    p.drawRoundedRect(QRectF(bandBox).adjusted(inset, inset, -inset, -inset), 3, 3);
    const double brightness =
        0.299 * bandFace.red() + 0.587 * bandFace.green() + 0.114 * bandFace.blue();
    QColor bandInk = brightness < 128 ? QColor(255, 255, 255) : kInk;
    if (hasAlarm && !filled) bandInk = alarmColor_;
    if (!hasAlarm) bandInk = grey ? kGreyInk : kQuiet;
    p.setPen(bandInk);
    p.setFont(FontOfHeight(font(), band * 3 / 5, hasAlarm));
    p.drawText(bandBox, Qt::AlignCenter,
               p.fontMetrics().elidedText(AlarmText(), Qt::ElideRight, bandBox.width() - 4));
}

void MachineTile::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(sensor_);
    QWidget::mouseReleaseEvent(event);
}

}  // namespace orsan
