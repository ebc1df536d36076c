#pragma once

#include <functional>
#include <string_view>

namespace orsan {

// Diagnostic traces of the Qt-free core. All are off unless the environment
// variable ORSAN_TRACE names their area: "comm", "wave", a comma list of
// them, or "all". Lines go to stderr as they are (they carry their own line
// ends). User-facing messages never go through here.
enum class TraceArea { Comm, Wave };

// Receives one trace line; an empty sink traces nothing.
using TraceSink = std::function<void(std::string_view line)>;

// Whether a spec in ORSAN_TRACE's form switches the area on.
bool TraceSpecEnables(std::string_view spec, TraceArea area);

// Whether ORSAN_TRACE, read once per process, switches the area on.
bool TraceEnabled(TraceArea area);

// A sink writing to stderr when the area is on, else an empty sink, so
// callers skip formatting lines nobody reads.
TraceSink TraceTo(TraceArea area);

}  // namespace orsan
