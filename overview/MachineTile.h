#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include "SensorLink.h"
#include "SeverityZones.h"

namespace orsan {

// What a tile shows of its machine at one refresh.
struct TileReading {
    LinkState link = LinkState::Never;
    float velocity = 0;     // the largest of Vel_X, Vel_Y, Vel_Z, mm/s
    float temperature = 0;  // shell, ℃
    Zone zone = Zone::None;
    bool operator==(const TileReading&) const = default;
};

// One machine on the overview, drawn by itself: its name and address, the
// overall velocity in large digits, the temperature, the zone letter on the
// zone's colour, the link state and a band with the alarm state. A tile
// whose values are not fresh is drawn greyed. A click asks for the machine's
// own page (clicked).
class MachineTile : public QWidget {
    Q_OBJECT
public:
    explicit MachineTile(int sensor, QWidget* parent = nullptr);

    int Sensor() const { return sensor_; }
    void SetMachine(const QString& name, const QString& address);
    void SetReading(const TileReading& reading);
    // The alarm band: text on background while flashOn, the tile's own
    // colours with text in background's colour otherwise, so a caller that
    // toggles flashOn at 1 Hz makes it flash. An empty text is "无报警".
    // A returned alarm (waiting only for its acknowledgement) is never
    // filled: the band keeps the tile's face, its text and, while flashOn,
    // a wide edge in background's colour; the tile's frame stays plain.
    void SetAlarm(const QString& text, const QColor& background, bool flashOn,
                  bool returned = false);

    // The texts as drawn.
    QString Title() const;
    QString AddressText() const;
    QString VelocityText() const;
    QString TemperatureText() const;
    QString LinkText() const;
    QString AlarmText() const;
    bool AlarmReturned() const { return alarmReturned_; }
    bool Greyed() const { return reading_.link != LinkState::Ok; }
    Zone ShownZone() const { return reading_.zone; }

signals:
    void clicked(int sensor);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();

    int sensor_;
    QString name_;
    QString address_;
    TileReading reading_;
    QString alarmText_;
    QColor alarmColor_;
    bool alarmOn_ = false;
    bool alarmReturned_ = false;
};

}  // namespace orsan
