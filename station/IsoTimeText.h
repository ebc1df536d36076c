#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace orsan {

// Local time in ISO 8601 with milliseconds and the zone's UTC offset,
// "2026-12-07T09:10:05.414+08:00", for a million rows in a row. The
// broken-down time comes from localtime_r only at the ends of each quarter
// hour it meets (when the offset is the same at both ends no zone change
// lies between) and from arithmetic otherwise.
class IsoTimeFormatter {
public:
    static constexpr int kMaxLength = 40;

    IsoTimeFormatter();
    // Writes the text into out (room for kMaxLength) and returns its length.
    int Format(int64_t seconds, int milliseconds, char* out);

private:
    bool OffsetAt(int64_t seconds, long* offset) const;
    int FormatSecond(int64_t seconds, char* out);

    int64_t blockStart_ = 0;
    int64_t blockEnd_ = 0;  // [blockStart_, blockEnd_) has offset_; empty at first
    long offset_ = 0;
    int64_t cachedSecond_ = 0;
    bool cached_ = false;
    char secondText_[kMaxLength] = {};
    int secondLength_ = 0;
    char offsetText_[24] = {};
};

// An instant given as ISO 8601 ("2026-12-07T09:10:05", optionally ".414"
// or more fractional digits, optionally "Z" or "+08:00"; local time without
// an offset) in milliseconds since 1970-01-01 UTC. Nothing when malformed,
// and for a local time the clock shows twice (clocks going back: the offset
// must say which) or never (clocks going forward); *error then says why,
// worded to follow the name of the option it came from.
std::optional<int64_t> ParseIsoInstant(const QString& text, QString* error = nullptr);

}  // namespace orsan
