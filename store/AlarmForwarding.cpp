#include "AlarmForwarding.h"

#include "CoreText.h"
#include "PgSession.h"
#include "RowsUpload.h"
#include "ServerSchema.h"

namespace orsan::store {

namespace {

// Alarm events, or acknowledgements, sent at a time.
constexpr int kAlarmBatch = 1000;

// Marks the server's rows of the acknowledged events, all or none; rows the
// server does not hold yet take their acknowledgement with them when sent.
PgOutcome ApplyAcknowledgements(PgSession& session, std::string_view copyText) {
    PgOutcome outcome = session.Exec("BEGIN");
    if (outcome.ok)
        outcome = session.Exec(
            "CREATE TEMP TABLE IF NOT EXISTS store_incoming_acks (station text, time "
            "timestamptz, sensor smallint, axis text, kind text, ack_by text, ack_time "
            "timestamptz) ON COMMIT DELETE ROWS");
    if (outcome.ok) outcome = session.CopyIn("COPY store_incoming_acks FROM STDIN", copyText);
    if (outcome.ok)
        outcome = session.Exec(
            "UPDATE " + AlarmEventsTable().name +
            " e SET ack = true, ack_by = a.ack_by, ack_time = a.ack_time FROM "
            "store_incoming_acks a WHERE e.station = a.station AND e.time = a.time AND "
            "e.sensor = a.sensor AND e.axis = a.axis AND e.kind = a.kind");
    if (outcome.ok) outcome = session.Exec("COMMIT");
    if (!outcome.ok) session.Exec("ROLLBACK");
    return outcome;
}

}  // namespace

std::string AlarmForwarding::Forward(LocalRecordSource& local, PgSession& session,
                                     const std::string& station) {
    if (!local.IsOpen() || !local.HasAlarmTable()) return {};
    if (!ready_) {
        if (std::string problem = EnsureTable(session, AlarmEventsTable()); !problem.empty())
            return problem;
        const auto loaded = local.LoadPosition(target_, "alarm");
        if (!loaded) return local.Error();
        position_ = *loaded;
        ready_ = true;
    }
    ForwardPosition next = position_;
    std::string text;
    int events = 0;
    if (!local.ReadAlarmsAfter(next, kAlarmBatch, station, &text, &events)) return local.Error();
    if (events > 0) {
        const PgOutcome sent = UploadRows(session, AlarmEventsTable(), text);
        if (!sent.ok)
            return CoreText::translate("AlarmForwarding", "服务器拒绝写入报警: %1")
                .With({sent.message});
        position_ = next;
        // Should this fail, the events are sent again later and skipped there.
        if (!local.SavePosition(target_, position_)) return local.Error();
    }
    return ForwardAcknowledgements(local, session, station);
}

std::string AlarmForwarding::ForwardAcknowledgements(LocalRecordSource& local, PgSession& session,
                                                     const std::string& station) {
    if (!local.HasAcknowledgementLog()) return {};
    if (!ackReady_) {
        const auto loaded = local.LoadPosition(ackTarget_, "alarm_ack");
        if (!loaded) return local.Error();
        ackPosition_ = *loaded;
        ackReady_ = true;
    }
    ForwardPosition next = ackPosition_;
    std::string text;
    int acknowledgements = 0;
    if (!local.ReadAcknowledgementsAfter(next, kAlarmBatch, station, &text, &acknowledgements))
        return local.Error();
    if (acknowledgements == 0) return {};
    const PgOutcome sent = ApplyAcknowledgements(session, text);
    if (!sent.ok)
        return CoreText::translate("AlarmForwarding", "服务器拒绝写入报警确认: %1")
            .With({sent.message});
    ackPosition_ = next;
    // Applying one again changes nothing.
    if (!local.SavePosition(ackTarget_, ackPosition_)) return local.Error();
    return {};
}

}  // namespace orsan::store
