#include "IsoTimeText.h"

#include <time.h>

#include <QDateTime>
#include <QRegularExpression>
#include <cstdio>
#include <cstring>

#include "LocalTimeText.h"

namespace orsan {

namespace {

constexpr int64_t kBlockSeconds = 900;

int64_t FloorDiv(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Proleptic Gregorian date of a day count since 1970-01-01.
void CivilFromDays(int64_t days, int64_t* year, int* month, int* day) {
    days += 719468;
    const int64_t era = FloorDiv(days, 146097);
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    *day = int(dayOfYear - (153 * mp + 2) / 5 + 1);
    *month = int(mp < 10 ? mp + 3 : mp - 9);
    *year = yearOfEra + era * 400 + (*month <= 2 ? 1 : 0);
}

// "+02:00" for seconds east of UTC.
QString OffsetText(long offset) {
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    return QString::asprintf("%c%02ld:%02ld", offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

QString WallClockText(int64_t wallSeconds) {
    return QDateTime::fromSecsSinceEpoch(wallSeconds, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

}  // namespace

IsoTimeFormatter::IsoTimeFormatter() {
    tzset();
}

bool IsoTimeFormatter::OffsetAt(int64_t seconds, long* offset) const {
    const time_t t = time_t(seconds);
    struct tm parts {};
    if (localtime_r(&t, &parts) == nullptr) return false;
    *offset = parts.tm_gmtoff;
    return true;
}

int IsoTimeFormatter::FormatSecond(int64_t seconds, char* out) {
    if (seconds < blockStart_ || seconds >= blockEnd_) {
        const int64_t start = FloorDiv(seconds, kBlockSeconds) * kBlockSeconds;
        long first = 0;
        long last = 0;
        if (OffsetAt(start, &first) && OffsetAt(start + kBlockSeconds - 1, &last) &&
            first == last) {
            blockStart_ = start;
            blockEnd_ = start + kBlockSeconds;
            offset_ = first;
        } else {
            // The zone changes inside this quarter hour: this second alone.
            if (!OffsetAt(seconds, &offset_)) offset_ = 0;
            blockStart_ = seconds;
            blockEnd_ = seconds + 1;
        }
        const long minutes = (offset_ < 0 ? -offset_ : offset_) / 60;
        std::snprintf(offsetText_, sizeof offsetText_, "%c%02ld:%02ld", offset_ < 0 ? '-' : '+',
                      minutes / 60, minutes % 60);
    }
    const int64_t local = seconds + offset_;
    const int64_t days = FloorDiv(local, 86400);
    const int64_t secondOfDay = local - days * 86400;
    int64_t year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(days, &year, &month, &day);
    return std::snprintf(out, kMaxLength, "%04lld-%02d-%02dT%02d:%02d:%02d", (long long)year, month,
                         day, int(secondOfDay / 3600), int(secondOfDay / 60 % 60),
                         int(secondOfDay % 60));
}

int IsoTimeFormatter::Format(int64_t seconds, int milliseconds, char* out) {
    if (!cached_ || seconds != cachedSecond_) {
        secondLength_ = FormatSecond(seconds, secondText_);
        cachedSecond_ = seconds;
        cached_ = true;
    }
    std::memcpy(out, secondText_, size_t(secondLength_));
    int length = secondLength_;
    out[length++] = '.';
    out[length++] = char('0' + milliseconds / 100 % 10);
    out[length++] = char('0' + milliseconds / 10 % 10);
    out[length++] = char('0' + milliseconds % 10);
    const size_t offsetLength = std::strlen(offsetText_);
    std::memcpy(out + length, offsetText_, offsetLength);
    return length + int(offsetLength);
}

std::optional<int64_t> ParseIsoInstant(const QString& text, QString* error) {
    const auto fail = [error](const QString& why) -> std::optional<int64_t> {
        if (error) *error = why;
        return std::nullopt;
    };
    // Date, time with seconds, any number of fractional digits, optional zone.
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{4}-\\d{2}-\\d{2})[T ](\\d{2}:\\d{2}:\\d{2})(?:\\.(\\d+))?(Z|[+-]\\d{2}:\\d{2})?$"));
    const QString given = text.trimmed();
    const QRegularExpressionMatch match = pattern.match(given);
    const QString wallText = match.captured(1) + QLatin1Char('T') + match.captured(2);
    const QString zone = match.captured(4);
    // A local time is first read as if it were UTC: the wall clock's reading.
    const QDateTime whole = QDateTime::fromString(
        wallText + (zone.isEmpty() ? QStringLiteral("Z") : zone), Qt::ISODate);
    if (!match.hasMatch() || !whole.isValid())
        return fail(QStringLiteral("needs an ISO 8601 time such as 2026-12-07T09:10:05 or "
                                   "2026-12-07T09:10:05.414+08:00, not \"%1\"")
                        .arg(text));
    // Qt rounds long fractions; an instant is cut to whole milliseconds.
    const int milliseconds = (match.captured(3) + QStringLiteral("000")).left(3).toInt();
    if (!zone.isEmpty()) return whole.toMSecsSinceEpoch() + milliseconds;

    const LocalClockShowing showing = WhenLocalClockShows(whole.toSecsSinceEpoch());
    if (showing.instants.size() == 1) return showing.instants[0].seconds * 1000 + milliseconds;
    if (showing.instants.size() > 1)
        return fail(QStringLiteral("%1 happens twice in the local time zone (the clocks go back): "
                                   "add its UTC offset, %1%2 for the first time or %1%3 for the "
                                   "second")
                        .arg(given, OffsetText(showing.instants.front().offset),
                             OffsetText(showing.instants.back().offset)));
    return fail(
        QStringLiteral("%1 does not exist in the local time zone: the clocks go forward "
                       "from %2 to %3; give a time outside that gap or add a UTC offset")
            .arg(given, WallClockText(showing.skippedFrom), WallClockText(showing.skippedTo)));
}

}  // namespace orsan
