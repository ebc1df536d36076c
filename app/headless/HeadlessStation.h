#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "RecordRowSink.h"

class QTextStream;

namespace orsan {

struct HeadlessOptions {
    QString dataDir;
    double durationSeconds = 0;  // 0: until SIGINT/SIGTERM
    RecordRowSink recordSink;    // set with --record
    // Rows not yet forwarded to the server, when one is configured.
    std::function<std::optional<int64_t>()> backlog;
    // Readings the server held already with other values, when one is configured.
    std::function<std::optional<int64_t>()> conflicts;
};

// Polls the sensors of Config.ini without a window: updates the alarms every
// 300 ms and prints one JSON line per record interval to out, its values and
// their freshness from one copy of the sensor table. Needs a running
// QCoreApplication; returns the exit code.
int RunHeadless(const HeadlessOptions& options, QTextStream& out, QTextStream& err);

}  // namespace orsan
