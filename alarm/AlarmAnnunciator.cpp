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

AlarmLook AlarmAnnunciator::Look(int sensor) const {
    const SensorAlarmSummary summary = monitor_.States().Summary(sensor);
    AlarmLook look;
    if (!summary.kind) return look;
    const AlarmKind kind = *summary.kind;
    look.text = AlarmKindCaption(kind);
    const Zone zone = monitor_.Zones()[size_t(sensor - 1)];
    const bool zoneSays = kind != AlarmKind::Lost && (zone == Zone::C || zone == Zone::D);
    look.background = summary.state == AlarmState::ActiveAcknowledged && zoneSays
                          ? ZoneColor(zone)
                          : AlarmKindColor(kind);
    look.state = summary.state;
    look.flashing = summary.unacknowledged;
    look.flashOn = !look.flashing || monitor_.FlashOn();
    return look;
}

AlarmLook AlarmAnnunciator::StationLook() const {
    AlarmLook worst;
    int worstRank = 0;
    for (int n = 1; n <= kSensorCount; ++n) {
        const SensorAlarmSummary summary = monitor_.States().Summary(n);
        if (!summary.kind) continue;
        // Waiting alarms first, then the more severe kind.
        const int rank = (summary.unacknowledged ? 10 : 0) + Severity(*summary.kind);
        if (rank <= worstRank) continue;
        worstRank = rank;
        worst.text = AlarmKindCaption(*summary.kind);
        worst.background = AlarmKindColor(*summary.kind);
        worst.state = summary.state;
        worst.flashing = summary.unacknowledged;
    }
    worst.flashOn = !worst.flashing || monitor_.FlashOn();
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
