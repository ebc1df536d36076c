#pragma once

#include <QString>

namespace orsan {

class RecordDatabase;

inline constexpr const char* kDatabaseConnectFailedText =
    QT_TRANSLATE_NOOP("orsan::RecordDatabaseShell",
                      "数据库服务器连接失败,请检查服务器是否已经打开并保持网络连接好....!");

// Start-up: opens dataFolder/DataRecord.db (created when missing). When it
// cannot be used (folder not writable, not a database, another program's
// database) shows the connection failure message and returns false; the
// station runs on and record operations then fail quietly.
bool OpenRecordDatabase(RecordDatabase& database, const QString& dataFolder);

// Shutdown.
void CloseRecordDatabase(RecordDatabase& database);

}  // namespace orsan
