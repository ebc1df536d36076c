#include <gtest/gtest.h>
#include <time.h>

#include <QDateTime>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "IsoTimeText.h"

namespace orsan {
namespace {

// Sets TZ for one test and puts the old value back.
class ScopedZone {
public:
    explicit ScopedZone(const char* zone) {
        const char* old = std::getenv("TZ");
        had_ = old != nullptr;
        if (had_) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedZone() {
        if (had_)
            setenv("TZ", old_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool had_ = false;
    std::string old_;
};

// The same text through localtime_r and strftime for every second.
std::string Reference(int64_t seconds, int milliseconds) {
    const time_t t = time_t(seconds);
    struct tm parts {};
    localtime_r(&t, &parts);
    char text[64];
    strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &parts);
    const long offset = parts.tm_gmtoff;
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    char tail[32];
    std::snprintf(tail, sizeof tail, ".%03d%c%02ld:%02ld", milliseconds, offset < 0 ? '-' : '+',
                  minutes / 60, minutes % 60);
    return std::string(text) + tail;
}

TEST(IsoTimeFormatterTest, MatchesTheZoneRulesAcrossChanges) {
    const struct {
        const char* zone;
        int64_t around;  // a moment the offset changes (or not)
    } cases[] = {
        {"CST-8", 1796605805},                       // fixed +08:00
        {"CET-1CEST,M3.5.0,M10.5.0/3", 1774746000},  // 2026-03-29 01:00 UTC
        {"CET-1CEST,M3.5.0,M10.5.0/3", 1792890000},  // 2026-10-25 01:00 UTC
        {"NST+3:30NDT,M3.2.0,M11.1.0", 1772947800},  // half-hour zone, 2026-03-08
        {"UTC0", 0},                                 // the epoch itself
        {"<-0930>9:30", 1796605805},                 // negative, not whole hours
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        ScopedZone zone(c.zone);
        IsoTimeFormatter formatter;
        // Rows 0.3 s apart through two hours around the change, then a jump back.
        char text[IsoTimeFormatter::kMaxLength];
        for (int64_t ms = -3600 * 1000; ms <= 3600 * 1000; ms += 300) {
            const int64_t at = c.around * 1000 + ms;
            const int64_t seconds = at >= 0 ? at / 1000 : (at - 999) / 1000;
            const int millis = int(at - seconds * 1000);
            const int length = formatter.Format(seconds, millis, text);
            ASSERT_EQ(std::string(text, size_t(length)), Reference(seconds, millis)) << at;
        }
        const int length = formatter.Format(c.around - 86400 * 400, 5, text);
        EXPECT_EQ(std::string(text, size_t(length)), Reference(c.around - 86400 * 400, 5));
    }
}

TEST(IsoInstantTest, ParsesLocalAndOffsetTimes) {
    ScopedZone zone("CST-8");
    const int64_t base = int64_t(1796605805) * 1000;  // 2026-12-07T09:10:05 at +08:00
    const struct {
        const char* text;
        std::optional<int64_t> expected;
    } cases[] = {
        {"2026-12-07T09:10:05", base},
        {"2026-12-07 09:10:05", base},
        {"2026-12-07T09:10:05.4", base + 400},
        {"2026-12-07T09:10:05.414", base + 414},
        {"2026-12-07T09:10:05.4149", base + 414},  // cut, not rounded
        {"2026-12-07T01:10:05Z", base},
        {"2026-12-07T02:10:05+01:00", base},
        {"2026-12-06T14:40:05-10:30", base},
        {"2026-12-07", std::nullopt},
        {"2026-12-07T09:10", std::nullopt},
        {"2026-13-07T09:10:05", std::nullopt},
        {"2026-02-30T09:10:05", std::nullopt},
        {"2026-12-07T09:10:05.", std::nullopt},
        {"2026-12-07T09:10:05+8", std::nullopt},
        {"yesterday", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseIsoInstant(c.text), c.expected) << c.text;
}

TEST(IsoInstantTest, LocalTimeShownTwiceOrNeverIsRefusedWithWhatToGive) {
    const struct {
        const char* zone;
        const char* text;
        std::optional<int64_t> ms;        // accepted: the instant
        std::vector<const char*> saying;  // refused: the message holds these
    } cases[] = {
        {"Europe/Berlin",
         "2026-03-29T02:30:00",
         {},
         {"does not exist", "from 2026-03-29T02:00:00 to 2026-03-29T03:00:00"}},
        {"Europe/Berlin", "2026-03-29T03:30:00", 1774747800000, {}},
        {"Europe/Berlin",
         "2026-10-25T02:30:00",
         {},
         {"happens twice", "2026-10-25T02:30:00+02:00 for the first",
          "2026-10-25T02:30:00+01:00 for the second"}},
        {"Europe/Berlin", "2026-10-25T02:30:00.250+01:00", 1792891800250, {}},
        {"Europe/Berlin", "2026-10-25T01:59:59", 1792886399000, {}},
        // The same rules written out, without the zone database.
        {"CET-1CEST,M3.5.0,M10.5.0/3", "2026-10-25 02:00:00", {}, {"+02:00", "+01:00"}},
        // Half an hour back and forth.
        {"Australia/Lord_Howe",
         "2026-04-05T01:45:00",
         {},
         {"2026-04-05T01:45:00+11:00 for the first", "2026-04-05T01:45:00+10:30 for the second"}},
        {"Australia/Lord_Howe",
         "2026-10-04T02:15:00",
         {},
         {"from 2026-10-04T02:00:00 to 2026-10-04T02:30:00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + c.text);
        ScopedZone zone(c.zone);
        QString error;
        const std::optional<int64_t> parsed = ParseIsoInstant(c.text, &error);
        if (c.ms) {
            EXPECT_EQ(parsed, c.ms) << error.toStdString();
            continue;
        }
        EXPECT_FALSE(parsed);
        EXPECT_FALSE(error.contains("ISO 8601")) << error.toStdString();
        for (const char* part : c.saying) EXPECT_TRUE(error.contains(part)) << error.toStdString();
    }
    // The command line names the option before the reason.
    ScopedZone zone("Europe/Berlin");
    CommandLine line;
    QString error;
    EXPECT_FALSE(
        ParseCommandLine({"--export-sensor", "1", "--to", "2026-10-25T02:30:00"}, line, &error));
    EXPECT_TRUE(error.startsWith("--to 2026-10-25T02:30:00 happens twice")) << error.toStdString();
}

TEST(CommandLineRangeTest, FromToAndFormatOfTheExport) {
    ScopedZone zone("CST-8");
    const int64_t base = int64_t(1796605805) * 1000;
    CommandLine c;
    QString error;
    ASSERT_TRUE(ParseCommandLine({"--export-sensor", "1"}, c, &error));
    EXPECT_FALSE(c.exportFromMs);
    EXPECT_FALSE(c.exportToMs);
    EXPECT_EQ(c.exportFormat, ExportFormat::Text);

    ASSERT_TRUE(ParseCommandLine({"--export-sensor", "1", "--from", "2026-12-07T09:10:05.414",
                                  "--to", "2026-12-07T09:10:05.414", "--format", "csv"},
                                 c, &error))
        << error.toStdString();
    EXPECT_EQ(c.exportFromMs, base + 414);
    EXPECT_EQ(c.exportToMs, base + 414);
    EXPECT_EQ(c.exportFormat, ExportFormat::Csv);

    ASSERT_TRUE(ParseCommandLine(
        {"--export-sensor", "2", "--to", "2026-12-07T09:10:05", "--format", "text"}, c, &error));
    EXPECT_FALSE(c.exportFromMs);
    EXPECT_EQ(c.exportToMs, base);
    EXPECT_EQ(c.exportFormat, ExportFormat::Text);

    const QStringList bad[] = {
        {"--export-sensor", "1", "--from", "2026-12-07T09:10:06", "--to", "2026-12-07T09:10:05"},
        {"--export-sensor", "1", "--from", "last tuesday"},
        {"--export-sensor", "1", "--to"},
        {"--export-sensor", "1", "--format", "xml"},
        {"--headless", "--from", "2026-12-07T09:10:05"},
        {"--format", "csv"},
        {"--capture", "127.0.0.1", "--seconds", "1", "--to", "2026-12-07T09:10:05"},
    };
    for (const QStringList& args : bad) {
        error.clear();
        EXPECT_FALSE(ParseCommandLine(args, c, &error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty()) << args.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace orsan
