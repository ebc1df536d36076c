#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace orsan {

// INI access bound to one file: the same [section] / key=value text as the
// platform's private-profile functions. Section and key names match without
// regard to case. The file is read at every call, so edits by hand show up
// (one of 64 KiB or more only when its inode, size or time changed).
// Files are UTF-8; a file that is not valid UTF-8 is read (and written back)
// as GB18030, as files carried over from Windows are. Every write replaces
// the file atomically, so a crash mid-write never leaves a torn file.
// Values are read whole: a setting cut short could silently mean something
// else (a connection string without its database). A line longer than
// kMaxIniLineBytes is not read at all (the file is read at every call, and a
// value of megabytes made every start take minutes), nor is a line whose bytes
// are not UTF-8 in a file of UTF-8 text; UnreadableLines() names both, and a
// write keeps their bytes.
inline constexpr int kMaxIniLineBytes = 8192;

struct IniUnreadableLine {
    enum class Reason { TooLong, NotUtf8 };
    int line = 0;  // from 1
    Reason reason = Reason::TooLong;
};

// One readable line: a section header (key empty) or a key=value entry of
// the section above it.
struct IniEntry {
    int line = 0;  // from 1
    QString section;
    QString key;
    QString value;
};

class INIFILE {
public:
    INIFILE() = default;
    explicit INIFILE(const QString& path) : path_(path) {}
    virtual ~INIFILE() { path_.clear(); }

    void SetPath(const QString& path) { path_ = path; }
    const QString& Path() const { return path_; }

    // The value, or defaultValue when the file, section or key is missing.
    QString GetString(const QString& section, const QString& key,
                      const QString& defaultValue) const;

    // Decimal integer; 0 for a missing key or a value that is not a number.
    int GetInt(const QString& section, const QString& key) const;

    // Creates the file, section or key as needed. False when the file could
    // not be written (the previous file is then left whole).
    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInt(const QString& section, const QString& key, int value);
    // Several keys of one section in a single replacement of the file: all
    // of them are written or none.
    bool WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& entries);

    // Every section header and entry in file order, repeats included.
    QList<IniEntry> Entries() const;
    QList<IniUnreadableLine> UnreadableLines() const;

    // The names of the file's sections in file order, repeats included;
    // empty for a missing file.
    QStringList SectionNames() const;

private:
    QString path_;
};

// Leading decimal integer of a text, as atoi reads it ("12ab" -> 12, "x" -> 0).
int ParseIniInt(const QString& text);

// Leading number of a text, as the C library's strtod reads it in the C
// locale (decimal, exponent, hex, "inf"); 0 when there is none, for
// not-a-number and for an underflow such as 1e-400.
double ParseIniDouble(const QString& text);

// The whole text (blanks around it aside) read as ParseIniDouble reads a
// number; nullopt when anything else follows it, for an empty text and for
// not-a-number, so a checked setting can refuse what is not a number.
std::optional<double> ParseIniNumber(const QString& text);

}  // namespace orsan
