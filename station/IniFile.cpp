#include "IniFile.h"

#include <sys/stat.h>

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "OutputPath.h"

namespace orsan {

namespace {

// A line the readers skip: bytes that are not the file's encoding or more
// than kMaxIniLineBytes. Its bytes are written back as they were, so a save
// never loses what the user wrote there.
struct IniText {
    QStringList lines;
    QList<QByteArray> raw;  // per line; non-empty for an unreadable line
    QList<IniUnreadableLine> unreadable;
    bool gb18030 = false;
    bool crlf = true;
};

// Chinese in UTF-8 is characters of three bytes; GB18030 text is mostly
// byte pairs that cannot be UTF-8. A few bad bytes among UTF-8 Chinese (one
// Latin-1 letter) must not turn every name into GB18030 mojibake, so a file
// is GB18030 only when its bytes that cannot be UTF-8 are more than half as
// many as its characters of three or four bytes. Lines too long to read do
// not count.
bool IsGb18030(const QList<QByteArray>& lines) {
    qsizetype wide = 0, invalid = 0;
    for (const QByteArray& line : lines) {
        if (line.size() > kMaxIniLineBytes) continue;
        const auto* p = reinterpret_cast<const uchar*>(line.constData());
        const auto* end = p + line.size();
        while (p < end) {
            const uchar c = *p;
            const int length = c < 0x80                   ? 1
                               : (c >= 0xC2 && c <= 0xDF) ? 2
                               : (c >= 0xE0 && c <= 0xEF) ? 3
                               : (c >= 0xF0 && c <= 0xF4) ? 4
                                                          : 0;
            bool ok = length > 0 && end - p >= length;
            for (int i = 1; ok && i < length; ++i) ok = (p[i] & 0xC0) == 0x80;
            if (!ok) {
                ++invalid;
                ++p;
                continue;
            }
            if (length >= 3) ++wide;
            p += length;
        }
    }
    return invalid > 0 && wide < 2 * invalid;
}

std::optional<IniText> ParseIniText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    IniText text;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    text.crlf = bytes.isEmpty() || bytes.contains("\r\n");
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    text.gb18030 = IsGb18030(lines);
    // Line by line: a broken character never swallows the next line.
    QStringDecoder gb("GB18030", QStringDecoder::Flag::Stateless);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        std::optional<IniUnreadableLine::Reason> reason;
        if (line.size() > kMaxIniLineBytes)
            reason = IniUnreadableLine::Reason::TooLong;
        else if (!text.gb18030 && !line.isValidUtf8())
            reason = IniUnreadableLine::Reason::NotUtf8;
        if (reason) {
            text.lines << QString();
            text.raw << line;
            text.unreadable << IniUnreadableLine{int(i + 1), *reason};
            continue;
        }
        text.lines << (text.gb18030 ? gb.decode(line) : QString::fromUtf8(line));
        text.raw << QByteArray();
    }
    return text;
}

// A file of megabytes (a runaway value) is parsed once per version of the
// file instead of at every call: the station reads a hundred keys at start.
// Small files are read at every call, as always.
constexpr qint64 kParsedOnceFromBytes = 1 << 16;

struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

std::optional<FileStamp> StampOf(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return std::nullopt;
    return FileStamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

std::optional<IniText> ReadIniText(const QString& path) {
    // Per thread, so no lock; the stamp is taken before reading, so a change
    // while reading shows at the next call.
    thread_local QString cachedPath;
    thread_local FileStamp cachedStamp;
    thread_local IniText cachedText;
    const std::optional<FileStamp> stamp = StampOf(path);
    const bool big = stamp && stamp->size >= kParsedOnceFromBytes;
    if (big && cachedPath == path && cachedStamp == *stamp) return cachedText;
    std::optional<IniText> text = ParseIniText(path);
    if (big && text) {
        cachedPath = path;
        cachedStamp = *stamp;
        cachedText = *text;
    }
    return text;
}

// "[name]" -> name, otherwise empty optional.
std::optional<QString> SectionName(const QString& line) {
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('['))) return std::nullopt;
    const int close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0) return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

bool IsComment(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1Char(';'));
}

// Splits "key=value" (both trimmed); false for lines without '='.
bool SplitEntry(const QString& line, QString& key, QString& value) {
    if (IsComment(line)) return false;
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    return true;
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString StripQuotes(const QString& value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

bool WriteIniText(const QString& path, const IniText& text) {
    const QByteArray newline = text.crlf ? "\r\n" : "\n";
    const auto encode = [&](bool gb18030) {
        QStringEncoder gb("GB18030");
        QList<QByteArray> lines;
        for (qsizetype i = 0; i < text.lines.size(); ++i)
            lines << (!text.raw[i].isEmpty() ? text.raw[i]
                      : gb18030              ? QByteArray(gb.encode(text.lines[i]))
                                             : text.lines[i].toUtf8());
        return lines;
    };
    QList<QByteArray> lines = encode(text.gb18030);
    // New GB18030 text that would read as UTF-8 is written as UTF-8, so what
    // was written is what the next read sees.
    if (text.gb18030 && !IsGb18030(lines)) lines = encode(false);
    QByteArray bytes;
    for (const QByteArray& line : lines) bytes += line + newline;
    return WriteOutputBytes(path, bytes, nullptr);
}

}  // namespace

QString INIFILE::GetString(const QString& section, const QString& key,
                           const QString& defaultValue) const {
    const std::optional<IniText> text = ReadIniText(path_);
    if (!text) return defaultValue;
    bool inSection = false;
    for (const QString& line : text->lines) {
        // An unreadable line is empty here: neither section nor key.
        if (const auto name = SectionName(line)) {
            inSection = SameName(*name, section);
            continue;
        }
        QString entryKey, entryValue;
        if (inSection && SplitEntry(line, entryKey, entryValue) && SameName(entryKey, key))
            return StripQuotes(entryValue);
    }
    return defaultValue;
}

int INIFILE::GetInt(const QString& section, const QString& key) const {
    return ParseIniInt(GetString(section, key, QString()));
}

QList<IniEntry> INIFILE::Entries() const {
    QList<IniEntry> entries;
    const std::optional<IniText> text = ReadIniText(path_);
    if (!text) return entries;
    QString section;
    for (qsizetype i = 0; i < text->lines.size(); ++i) {
        const QString& line = text->lines[i];
        QString key, value;
        if (const auto name = SectionName(line)) {
            section = *name;
            entries.append({int(i + 1), section, QString(), QString()});
        } else if (SplitEntry(line, key, value)) {
            entries.append({int(i + 1), section, key, StripQuotes(value)});
        }
    }
    return entries;
}

QList<IniUnreadableLine> INIFILE::UnreadableLines() const {
    const std::optional<IniText> text = ReadIniText(path_);
    return text ? text->unreadable : QList<IniUnreadableLine>();
}

QStringList INIFILE::SectionNames() const {
    QStringList names;
    if (const std::optional<IniText> text = ReadIniText(path_)) {
        for (const QString& line : text->lines)
            if (const auto name = SectionName(line)) names << *name;
    }
    return names;
}

namespace {

// Sets key in section of text, adding the section or the key as needed.
void SetEntry(IniText& text, const QString& section, const QString& key, const QString& value) {
    const QString entry = key + QLatin1Char('=') + value;
    int sectionLine = -1;
    int insertAt = -1;  // after the last entry of the section
    for (int i = 0; i < text.lines.size(); ++i) {
        if (const auto name = SectionName(text.lines[i])) {
            if (sectionLine >= 0) break;  // left our section
            if (SameName(*name, section)) {
                sectionLine = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionLine < 0) continue;
        QString entryKey, entryValue;
        if (SplitEntry(text.lines[i], entryKey, entryValue)) {
            if (SameName(entryKey, key)) {
                text.lines[i] = entry;
                text.raw[i].clear();
                return;
            }
        }
        if (!text.lines[i].trimmed().isEmpty()) insertAt = i + 1;
    }
    if (sectionLine >= 0) {
        text.lines.insert(insertAt, entry);
        text.raw.insert(insertAt, QByteArray());
    } else {
        text.lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        text.lines.append(entry);
        text.raw.append({QByteArray(), QByteArray()});
    }
}

}  // namespace

bool INIFILE::WriteString(const QString& section, const QString& key, const QString& value) {
    return WriteStrings(section, {{key, value}});
}

bool INIFILE::WriteStrings(const QString& section,
                           const QList<std::pair<QString, QString>>& entries) {
    if (path_.isEmpty()) return false;
    IniText text = ReadIniText(path_).value_or(IniText{});
    for (const auto& [key, value] : entries) SetEntry(text, section, key, value);
    return WriteIniText(path_, text);
}

bool INIFILE::WriteInt(const QString& section, const QString& key, int value) {
    return WriteString(section, key, QString::number(value));
}

int ParseIniInt(const QString& text) {
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    long long value = 0;
    for (; p != end && *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > (1LL << 32)) break;  // far out of range: the low bits no longer matter
    }
    return int(uint32_t(negative ? -value : value));
}

namespace {

// strtod in the C locale whatever the process locale: underflow gives 0
// (or the denormal), overflow +-HUGE_VAL, hex and "inf" as it reads them.
// *whole: the number took the whole text.
double ReadIniNumber(const QString& text, bool* whole) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    const QByteArray bytes = text.trimmed().toLatin1();
    char* end = nullptr;
    const double value = strtod_l(bytes.constData(), &end, cLocale);
    // What Latin-1 cannot spell becomes '?', which ends the number.
    *whole = !bytes.isEmpty() && end == bytes.constData() + bytes.size();
    return value;
}

}  // namespace

double ParseIniDouble(const QString& text) {
    bool whole = false;
    const double value = ReadIniNumber(text, &whole);
    return std::isnan(value) ? 0 : value;
}

std::optional<double> ParseIniNumber(const QString& text) {
    bool whole = false;
    const double value = ReadIniNumber(text, &whole);
    if (!whole || std::isnan(value)) return std::nullopt;
    return value;
}

}  // namespace orsan
