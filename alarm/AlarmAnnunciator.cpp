#include "AlarmAnnunciator.h"

#include <QApplication>
#include <QWidget>

#include "AlarmMonitor.h"
#include "ZoneLook.h"

namespace orsan {

namespace {

// A fifth of a flash half: an edge is shown at most 100 ms late.
constexpr int kTickMs = 100;

int Severity(AlarmKind kind) {
    for (size_t k = 0; k < kAnnouncedKinds.size(); ++k)
        if (kAnnouncedKinds[k] == kind) return int(kAnnouncedKinds.size() - k);
    return 0;
}

}  // namespace

AlarmAnnunciator::AlarmAnnunciator(AlarmMonitor& monitor, QWidget* window,
                                   std::unique_ptr<AlarmSound> sound, QObject* parent)
    : QObject(parent), monitor_(monitor), window_(window), sound_(std::move(sound)) {
    connect(&timer_, &QTimer::timeout, this, &AlarmAnnunciator::Tick);
    timer_.start(kTickMs);
}

AlarmAnnunciator::~AlarmAnnunciator() {
    StopSound();
}

std::optional<AlarmKind> AlarmAnnunciator::ShownKind(int sensor) const {
    const AlarmStates& states = monitor_.States();
    // What is true now comes first: an active ALARM over a returned TRIP.
    for (AlarmKind kind : kAnnouncedKinds)
        if (IsActive(states.State(sensor, kind))) return kind;
    return states.Summary(sensor).kind;
}

AlarmLook AlarmAnnunciator::Look(int sensor) const {
    AlarmLook look;
    const std::optional<AlarmKind> shown = ShownKind(sensor);
    if (!shown) return look;
    const AlarmKind kind = *shown;
    look.state = monitor_.States().State(sensor, kind);
    look.text = look.Returned() ? ReturnedAlarmCaption(kind) : AlarmKindCaption(kind);
    const Zone zone = monitor_.Zones()[size_t(sensor - 1)];
    const bool zoneSays = kind != AlarmKind::Lost && (zone == Zone::C || zone == Zone::D);
    look.background = look.state == AlarmState::ActiveAcknowledged && zoneSays
                          ? ZoneColor(zone)
                          : AlarmKindColor(kind);
    look.flashing = monitor_.States().Summary(sensor).unacknowledged;
    look.flashOn = !look.flashing || monitor_.FlashOn();
    return look;
}

AlarmLook AlarmAnnunciator::StationLook() const {
    AlarmLook worst;
    int worstRank = 0;
    for (int n = 1; n <= kSensorCount; ++n) {
        const std::optional<AlarmKind> kind = ShownKind(n);
        if (!kind) continue;
        AlarmLook look = Look(n);
        // Waiting alarms first, then active ones, then the more severe kind.
        const int rank = (look.flashing ? 20 : 0) + (look.Returned() ? 0 : 10) + Severity(*kind);
        if (rank <= worstRank) continue;
        worstRank = rank;
        look.background = AlarmKindColor(*kind);
        worst = look;
    }
    return worst;
}

void AlarmAnnunciator::Announce() {
    if (monitor_.NewAlarms() > 0) {
        if (window_) QApplication::alert(window_);
        if (sound_ && monitor_.SoundEnabled()) {
            sound_->Start();
            sounding_ = true;
        }
    }
    ShowAcknowledged();
}

void AlarmAnnunciator::ShowAcknowledged() {
    if (!monitor_.States().AnyUnacknowledged()) StopSound();
    shownPhase_ = monitor_.FlashOn();
    emit changed();
}

void AlarmAnnunciator::Mute() {
    StopSound();
}

void AlarmAnnunciator::StopSound() {
    if (sound_ && sounding_) sound_->Stop();
    sounding_ = false;
}

void AlarmAnnunciator::Tick() {
    const bool phase = monitor_.FlashOn();
    if (phase == shownPhase_) return;
    shownPhase_ = phase;
    if (monitor_.States().AnyUnacknowledged()) emit changed();
}

}  // namespace orsan
