#include "IniFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "OutputPath.h"

namespace orsan {

namespace {

struct IniText {
    QStringList lines;
    bool gb18030 = false;
    bool crlf = true;
};

std::optional<IniText> ReadIniText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    IniText text;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString content = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder gb("GB18030");
        content = gb.decode(bytes);
        text.gb18030 = true;
    }
    text.crlf = bytes.isEmpty() || bytes.contains("\r\n");
    content.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    content.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.lines = content.split(QLatin1Char('\n'));
    if (!text.lines.isEmpty() && text.lines.last().isEmpty()) text.lines.removeLast();
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
    const QString newline = text.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString content;
    for (const QString& line : text.lines) content += line + newline;
    QByteArray bytes;
    if (text.gb18030) {
        QStringEncoder gb("GB18030");
        bytes = gb.encode(content);
    } else {
        bytes = content.toUtf8();
    }
    return WriteOutputBytes(path, bytes, nullptr);
}

}  // namespace

QString INIFILE::GetString(const QString& section, const QString& key,
                           const QString& defaultValue) const {
    const std::optional<IniText> text = ReadIniText(path_);
    if (!text) return defaultValue;
    bool inSection = false;
    for (const QString& line : text->lines) {
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
                return;
            }
        }
        if (!text.lines[i].trimmed().isEmpty()) insertAt = i + 1;
    }
    if (sectionLine >= 0) {
        text.lines.insert(insertAt, entry);
    } else {
        text.lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        text.lines.append(entry);
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
