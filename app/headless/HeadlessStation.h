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

// Polls the sensors of Config.ini without a window: refreshes the live values
// every 300 ms and prints one JSON line per record interval to out. Needs a
// running QCoreApplication; returns the exit code.
int RunHeadless(const HeadlessOptions& options, QTextStream& out, QTextStream& err);

}  // namespace orsan
