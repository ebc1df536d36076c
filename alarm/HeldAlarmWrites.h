#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "AlarmEvent.h"
#include "DiskSpaceGuard.h"

namespace orsan {

// The writes to table `alarm` the held writes make: AlarmStore, or a stand-in.
class AlarmEventWrites {
public:
    virtual ~AlarmEventWrites() = default;
    // Stores the event and sets event->id; an acknowledged one with its
    // acknowledgement at ackTimeMs (since the epoch) logged.
    virtual bool Insert(AlarmEvent* event, int64_t ackTimeMs) = 0;
    virtual bool Acknowledge(int64_t id, const QString& who, int64_t timeMs) = 0;
    virtual bool AcknowledgeAlarm(int sensor, AlarmKind kind, const QString& who, int64_t timeMs,
                                  AlarmQuantity quantity) = 0;
    virtual bool AcknowledgeAll(const QString& who, int64_t timeMs) = 0;
    virtual const QString& LastError() const = 0;
};

// Events and acknowledgements the table could not take (a full disk), held
// in memory in the order they came and written once it takes them again:
// an alarm raised while the disk is full is not lost, and reaches the server
// with the rest of the table. While anything is held, new writes queue
// behind it, so the table keeps their order. Held events carry ids -1, -2,
// ...; an acknowledgement of one goes into it and is written with it.
class HeldAlarmWrites {
public:
    // A failed write is tried again after this long, and only while the
    // disk holding the folder has room (DiskSpaceGuard's limits).
    static constexpr int64_t kRetryMs = 5000;

    explicit HeldAlarmWrites(AlarmEventWrites& store, DiskSpaceProbe probe = ProbeDiskSpace)
        : store_(store), guard_(std::move(probe)) {}
    // The folder whose disk decides when to try again.
    void SetFolder(const QString& folder) { folder_ = folder; }

    // Each writes at once when nothing is held and the table takes it, and
    // holds it otherwise; true when written (the store's LastError says why not).
    bool Insert(AlarmEvent* event);
    bool Acknowledge(int64_t id, const QString& who, int64_t timeMs);
    bool AcknowledgeAlarm(int sensor, AlarmKind kind, const QString& who, int64_t timeMs,
                          AlarmQuantity quantity);
    bool AcknowledgeAll(const QString& who, int64_t timeMs);

    // At every refresh (steady clock): writes what is held, oldest first,
    // when the disk has room and the last attempt is kRetryMs past; force
    // tries at once (a stop). The number of held events written.
    int Retry(int64_t steadyMs, bool force = false);

    bool IsEmpty() const { return held_.empty(); }
    int HeldEventCount() const;
    int HeldAcknowledgementCount() const { return int(held_.size()) - HeldEventCount(); }
    // The held events, oldest first, as the page lists them.
    std::vector<AlarmEvent> HeldEvents() const;

private:
    enum class Write { Insert, Acknowledge, AcknowledgeAlarm, AcknowledgeAll };
    struct Held {
        Write write = Write::Insert;
        AlarmEvent event;       // Insert: the event; the others: what is acknowledged
        int64_t ackTimeMs = 0;  // Insert of an acknowledged event, and the acknowledgements
        QString who{};          // the acknowledgements
    };
    bool WriteNow(Held& held);
    bool WriteOrHold(Held held);
    // Acknowledges the held events `picks` chooses, in place.
    template <typename Picks>
    void AcknowledgeHeld(Picks picks, const QString& who, int64_t timeMs);

    AlarmEventWrites& store_;
    DiskSpaceGuard guard_;
    QString folder_;
    std::vector<Held> held_;
    int64_t nextHeldId_ = -1;
    int64_t nextAttemptMs_ = 0;
};

}  // namespace orsan
