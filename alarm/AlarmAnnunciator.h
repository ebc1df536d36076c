#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>

#include "AlarmSound.h"
#include "AlarmStates.h"

class QWidget;

namespace orsan {

class AlarmMonitor;

// How one sensor's alarms look right now, for a tile, a tab caption or a
// value box: the caption of its most severe active alarm, else of its most
// severe alarm that returned unacknowledged ("TRIP 已恢复 未确认"), and that
// alarm's colour (the zone's colour, C or D, while it is active and
// acknowledged; its kind's colour otherwise). An active alarm is filled
// with the colour, a returned one only outlined, so it is never taken for
// a present danger. While any of its alarms waits for acknowledgement it
// flashes: flashOn is false in the dark half of each second, when it is
// drawn as without an alarm. Normal: empty text, an invalid colour.
struct AlarmLook {
    QString text;
    QColor background;
    bool flashOn = true;
    bool flashing = false;
    AlarmState state = AlarmState::Normal;  // of the alarm shown

    bool IsAlarm() const { return background.isValid(); }
    bool Returned() const { return state == AlarmState::ReturnedUnacknowledged; }
    // The colour to paint now: the background, or invalid in the dark half.
    QColor Lit() const { return flashOn ? background : QColor(); }
    // To fill with now: an active alarm's Lit().
    QColor Fill() const { return Returned() ? QColor() : Lit(); }
    // To outline with now: a returned alarm's Lit().
    QColor Outline() const { return Returned() ? Lit() : QColor(); }
    bool operator==(const AlarmLook&) const = default;
};

// The alarms made heard and seen: looks per sensor and for the station
// (the "报警记录" caption), a change signal at every refresh and every
// flash edge, the tone for a new alarm until it is muted or nothing waits
// any more, and the desktop's attention. The monitor must outlive it.
// An overview tile follows a sensor with
//   connect(annunciator, &AlarmAnnunciator::changed, tile, [=] {
//       const AlarmLook look = annunciator->Look(n);
//       tile->SetAlarm(look.text, look.background, look.flashOn, look.Returned());
//   });
class AlarmAnnunciator : public QObject {
    Q_OBJECT
public:
    // window: asked for the desktop's attention. sound: null for silence.
    AlarmAnnunciator(AlarmMonitor& monitor, QWidget* window, std::unique_ptr<AlarmSound> sound,
                     QObject* parent = nullptr);
    ~AlarmAnnunciator() override;

    AlarmLook Look(int sensor) const;
    // The station's most severe waiting alarm, else its most severe active one.
    AlarmLook StationLook() const;

    // After each monitor update: a new alarm sounds (unless Alarm.ini turned
    // the tone off) and asks for attention; the tone stops once nothing
    // waits for acknowledgement.
    void Announce();
    // After an acknowledgement: the same without announcing the update's
    // new alarms again.
    void ShowAcknowledged();
    // "静音": quiet until the next new alarm.
    void Mute();
    bool IsSounding() const { return sounding_; }

    // The flash edge check the timer runs, callable directly.
    void Tick();

signals:
    void changed();

private:
    void StopSound();
    // The alarm a sensor shows: its most severe active one, else its most
    // severe one that is not normal.
    std::optional<AlarmKind> ShownKind(int sensor) const;

    AlarmMonitor& monitor_;
    QWidget* window_;
    std::unique_ptr<AlarmSound> sound_;
    QTimer timer_;
    bool shownPhase_ = true;
    bool sounding_ = false;
};

}  // namespace orsan
