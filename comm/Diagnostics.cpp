#include "Diagnostics.h"

#include <cstdio>
#include <cstdlib>

namespace orsan {

namespace {

std::string_view AreaName(TraceArea area) {
    switch (area) {
        case TraceArea::Comm:
            return "comm";
        case TraceArea::Wave:
            return "wave";
    }
    return {};
}

}  // namespace

bool TraceSpecEnables(std::string_view spec, TraceArea area) {
    while (!spec.empty()) {
        const size_t comma = spec.find(',');
        const std::string_view token = spec.substr(0, comma);
        if (token == "all" || token == AreaName(area)) return true;
        if (comma == std::string_view::npos) break;
        spec.remove_prefix(comma + 1);
    }
    return false;
}

bool TraceEnabled(TraceArea area) {
    static const char* const spec = std::getenv("ORSAN_TRACE");
    return spec != nullptr && TraceSpecEnables(spec, area);
}

TraceSink TraceTo(TraceArea area) {
    if (!TraceEnabled(area)) return {};
    return [](std::string_view line) {
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fflush(stderr);
    };
}

}  // namespace orsan
