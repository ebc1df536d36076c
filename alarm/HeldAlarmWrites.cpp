#include "HeldAlarmWrites.h"

#include <algorithm>

namespace orsan {

bool HeldAlarmWrites::WriteNow(Held& held) {
    switch (held.write) {
        case Write::Insert:
            return store_.Insert(&held.event, held.ackTimeMs);
        case Write::Acknowledge:
            return store_.Acknowledge(held.event.id, held.who, held.ackTimeMs);
        case Write::AcknowledgeAlarm:
            return store_.AcknowledgeAlarm(held.event.sensor, held.event.kind, held.who,
                                           held.ackTimeMs, held.event.Quantity());
        case Write::AcknowledgeAll:
            return store_.AcknowledgeAll(held.who, held.ackTimeMs);
    }
    return false;
}

bool HeldAlarmWrites::WriteOrHold(Held held) {
    if (held_.empty() && WriteNow(held)) return true;
    held_.push_back(std::move(held));
    return false;
}

bool HeldAlarmWrites::Insert(AlarmEvent* event) {
    if (held_.empty()) {
        Held now{Write::Insert, *event};
        if (WriteNow(now)) {
            *event = now.event;
            return true;
        }
    }
    event->id = nextHeldId_--;
    held_.push_back({Write::Insert, *event});
    return false;
}

template <typename Picks>
void HeldAlarmWrites::AcknowledgeHeld(Picks picks, const QString& who, int64_t timeMs) {
    for (Held& held : held_) {
        AlarmEvent& e = held.event;
        if (held.write != Write::Insert || e.acknowledged || !picks(e)) continue;
        e.acknowledged = true;
        e.ackBy = who;
        e.ackTime = timeMs / 1000;
        held.ackTimeMs = timeMs;
    }
}

bool HeldAlarmWrites::Acknowledge(int64_t id, const QString& who, int64_t timeMs) {
    if (id < 0) {
        AcknowledgeHeld([id](const AlarmEvent& e) { return e.id == id; }, who, timeMs);
        return true;
    }
    Held held{Write::Acknowledge, {}, timeMs, who};
    held.event.id = id;
    return WriteOrHold(std::move(held));
}

bool HeldAlarmWrites::AcknowledgeAlarm(int sensor, AlarmKind kind, const QString& who,
                                       int64_t timeMs, AlarmQuantity quantity) {
    AcknowledgeHeld(
        [&](const AlarmEvent& e) {
            return e.sensor == sensor && e.kind == kind && e.Quantity() == quantity;
        },
        who, timeMs);
    Held held{Write::AcknowledgeAlarm, {}, timeMs, who};
    held.event.sensor = sensor;
    held.event.kind = kind;
    held.event.axis = quantity == AlarmQuantity::Temperature ? kTemperatureAxis : 0;
    return WriteOrHold(std::move(held));
}

bool HeldAlarmWrites::AcknowledgeAll(const QString& who, int64_t timeMs) {
    AcknowledgeHeld([](const AlarmEvent&) { return true; }, who, timeMs);
    return WriteOrHold({Write::AcknowledgeAll, {}, timeMs, who});
}

int HeldAlarmWrites::Retry(int64_t steadyMs, bool force) {
    if (held_.empty()) return 0;
    if (!force) {
        if (steadyMs < nextAttemptMs_) return 0;
        guard_.Check(folder_);
        if (guard_.IsStopped()) {
            nextAttemptMs_ = steadyMs + kRetryMs;
            return 0;
        }
    }
    int written = 0;
    size_t done = 0;
    for (; done < held_.size(); ++done) {
        if (!WriteNow(held_[done])) break;
        if (held_[done].write == Write::Insert) ++written;
    }
    held_.erase(held_.begin(), held_.begin() + ptrdiff_t(done));
    if (!held_.empty()) nextAttemptMs_ = steadyMs + kRetryMs;
    return written;
}

int HeldAlarmWrites::HeldEventCount() const {
    return int(std::count_if(held_.begin(), held_.end(),
                             [](const Held& h) { return h.write == Write::Insert; }));
}

std::vector<AlarmEvent> HeldAlarmWrites::HeldEvents() const {
    std::vector<AlarmEvent> events;
    for (const Held& held : held_)
        if (held.write == Write::Insert) events.push_back(held.event);
    return events;
}

}  // namespace orsan
