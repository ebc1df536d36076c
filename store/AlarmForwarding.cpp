#include "AlarmForwarding.h"

#include "PgSession.h"
#include "RowsUpload.h"
#include "ServerSchema.h"

namespace orsan::store {

namespace {
// Alarm events sent at a time.
constexpr int kAlarmBatch = 1000;
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
    if (events == 0) return {};
    const PgOutcome sent = UploadRows(session, AlarmEventsTable(), text);
    if (!sent.ok) return "服务器拒绝写入报警: " + sent.message;
    position_ = next;
    // Should this fail, the events are sent again later and skipped there.
    if (!local.SavePosition(target_, position_)) return local.Error();
    return {};
}

}  // namespace orsan::store
