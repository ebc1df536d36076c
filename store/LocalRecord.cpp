#include "LocalRecord.h"

#include <charconv>
#include <cmath>

namespace orsan::store {

namespace {

// Days since 1970-01-01 to the civil date (proleptic Gregorian).
void CivilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = unsigned(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = int64_t(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

void AppendDigits(std::string& out, int64_t value, int width) {
    char buffer[24];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value < 0 ? -value : value);
    if (value < 0) out += '-';
    for (int pad = width - int(end - buffer); pad > 0; --pad) out += '0';
    out.append(buffer, end);
}

void AppendValue(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "NaN";
    } else if (std::isinf(value)) {
        out += value > 0 ? "Infinity" : "-Infinity";
    } else {
        char buffer[32];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
        out.append(buffer, end);
    }
}

}  // namespace

void AppendCopyField(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
}

std::string FormatServerTime(int64_t seconds, int milliseconds) {
    // A millisecond field outside 0..999 (a row written by another program)
    // still names one instant: carried into the seconds.
    int64_t totalMs = seconds * 1000 + milliseconds;
    int64_t ms = totalMs % 1000;
    if (ms < 0) ms += 1000;
    const int64_t wholeSeconds = (totalMs - ms) / 1000;
    int64_t days = wholeSeconds / 86400;
    int64_t secondOfDay = wholeSeconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    int64_t year;
    unsigned month, day;
    CivilFromDays(days, year, month, day);
    std::string text;
    text.reserve(27);
    AppendDigits(text, year, 4);
    text += '-';
    AppendDigits(text, month, 2);
    text += '-';
    AppendDigits(text, day, 2);
    text += ' ';
    AppendDigits(text, secondOfDay / 3600, 2);
    text += ':';
    AppendDigits(text, secondOfDay / 60 % 60, 2);
    text += ':';
    AppendDigits(text, secondOfDay % 60, 2);
    text += '.';
    AppendDigits(text, ms, 3);
    text += "+00";
    return text;
}

int64_t AppendReadingsCopyText(const std::vector<LocalRecord>& records, SensorMask sensors,
                               const std::string& station, std::string& out,
                               std::vector<int64_t>* rowIds) {
    std::string escapedStation;
    AppendCopyField(escapedStation, station);
    int64_t rows = 0;
    for (const LocalRecord& record : records) {
        const SensorMask sent = SentSensors(record, sensors);
        if (sent.none()) continue;
        if (rowIds) rowIds->insert(rowIds->end(), sent.count(), record.rowId);
        const std::string time = FormatServerTime(record.time, record.milliseconds);
        for (int s = 0; s < kStoreSensors; ++s) {
            if (!sent.test(size_t(s))) continue;
            ++rows;
            out += escapedStation;
            out += '\t';
            out += time;
            out += '\t';
            AppendDigits(out, s + 1, 1);
            for (int v = 0; v < kStoreValues; ++v) {
                out += '\t';
                const int at = s * kStoreValues + v;
                if (record.isNull.test(size_t(at)))
                    out += "\\N";
                else
                    AppendValue(out, record.values[size_t(at)]);
            }
            out += '\n';
        }
    }
    return rows;
}

}  // namespace orsan::store
