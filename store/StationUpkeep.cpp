#include "StationUpkeep.h"

#include <filesystem>

#include "CoreText.h"
#include "LocalRecordSource.h"
#include "PgSession.h"
#include "ServerSummaryViews.h"

namespace orsan::store {

StationUpkeep::StationUpkeep(std::string station, const std::string& databasePath,
                             const std::string& target, std::chrono::milliseconds firstRetry,
                             std::chrono::milliseconds lastRetry)
    : databasePath_(databasePath),
      name_(firstRetry, lastRetry),
      sensorNames_(firstRetry, lastRetry),
      alarmEvents_(firstRetry, lastRetry),
      summaryViews_(firstRetry, lastRetry),
      alarms_(target + "#alarm_events") {
    claimant_.station = std::move(station);
    claimant_.host = LocalHostName();
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::absolute(databasePath, ec).parent_path();
    claimant_.folderPath = folder.string();
}

void StationUpkeep::Reset() {
    claimedAt_.reset();
    namesSent_.reset();
    viewsMade_ = false;
    alarms_.Reset();
}

std::string StationUpkeep::ClaimName(PgSession& session, bool* refused) {
    *refused = false;
    std::string error;
    if (claimant_.folderId.empty()) {
        const std::optional<std::string> id = LoadFolderIdentity(databasePath_, &error);
        if (!id) return error;
        claimant_.folderId = *id;
    }
    const ClaimAnswer answer = ClaimStation(session, claimant_);
    *refused = answer.refused;
    if (answer.error.empty()) claimedAt_ = std::chrono::steady_clock::now();
    return answer.error;
}

std::string StationUpkeep::Run(LocalRecordSource& local, PgSession& session, SensorMask sensors,
                               const SensorNames& names) {
    // Nothing recorded yet: no folder to claim for, nothing to send.
    if (!local.IsOpen()) return {};
    // A stream's failure is its own unless the connection went with it.
    auto settle = [&](ForwardStream& stream, const std::string& error) {
        if (!session.Connected()) return true;
        stream.Outcome(error);
        return false;
    };
    const bool renew = !claimedAt_ || std::chrono::steady_clock::now() - *claimedAt_ >= kRenewClaim;
    if (renew && name_.Due()) {
        bool refused = false;
        const std::string error = ClaimName(session, &refused);
        if (refused || settle(name_, error)) return error;
    }
    const auto wanted = std::make_pair(sensors, names);
    if (namesSent_ != wanted && sensorNames_.Due()) {
        const std::string error = SaveSensorNames(session, claimant_.station, sensors, names);
        if (settle(sensorNames_, error)) return error;
        if (error.empty()) namesSent_ = wanted;
    }
    if (alarmEvents_.Due()) {
        const std::string error = alarms_.Forward(local, session, claimant_.station);
        if (settle(alarmEvents_, error)) return error;
    }
    if (!viewsMade_ && summaryViews_.Due()) {
        const std::string error = EnsureSummaryViews(session, &viewsMade_);
        if (settle(summaryViews_, error)) return error;
    }
    return {};
}

std::string StationUpkeep::Problems() const {
    std::string text;
    for (const auto& [label, stream] :
         {std::pair<const char*, const ForwardStream*>{
              QT_TRANSLATE_NOOP("StationUpkeep", "站点名未登记: %1"), &name_},
          {QT_TRANSLATE_NOOP("StationUpkeep", "传感器名称未发送: %1"), &sensorNames_},
          {QT_TRANSLATE_NOOP("StationUpkeep", "报警事件未发送: %1"), &alarmEvents_},
          {QT_TRANSLATE_NOOP("StationUpkeep", "汇总视图未建立: %1"), &summaryViews_}}) {
        if (stream->Error().empty()) continue;
        if (!text.empty()) text += CoreText::translate("StationUpkeep", "；").Str();
        text += CoreText::translate("StationUpkeep", label).With({stream->Error()}).Str();
    }
    return text;
}

}  // namespace orsan::store
