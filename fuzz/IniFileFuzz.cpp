// The INI reader and writer on any file content: no crash; a value written
// reads back unchanged (or cut to the value limit); numbers read as strtod
// reads them, with not-a-number as 0.
#include <QFile>
#include <QStringEncoder>
#include <cmath>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "IniFile.h"
#include "ScratchFolder.h"

using namespace orsan;
using namespace orsan::fuzz;

namespace {

QString Text(const std::vector<uint8_t>& bytes) {
    return QString::fromUtf8(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

QString Without(QString text, const char* characters) {
    for (const char* c = characters; *c; ++c) text.remove(QLatin1Char(*c));
    return text.trimmed();
}

// Names and values the format can carry: one line, no surrounding blanks; a
// section without ']'; a key without '=' that does not look like a comment
// or a section; a value not wrapped in quotes.
QString SectionName(const std::vector<uint8_t>& bytes) {
    const QString name = Without(Text(bytes), "]\r\n");
    return name.isEmpty() ? QStringLiteral("S") : name;
}

QString KeyName(const std::vector<uint8_t>& bytes) {
    QString key = Without(Text(bytes), "=\r\n");
    if (key.isEmpty() || key.front() == QLatin1Char(';') || key.front() == QLatin1Char('['))
        key.prepend(QLatin1Char('k'));
    return key;
}

QString Value(const std::vector<uint8_t>& bytes) {
    QString value = Without(Text(bytes), "\r\n");
    if (value.size() >= 2 &&
        (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')))
        value.append(QLatin1Char('x'));
    return value;
}

// Number text from a small alphabet that reaches every branch of a strtod:
// signs, blanks, points, exponents, hexadecimal, inf and nan.
std::string NumberText(const std::vector<uint8_t>& bytes) {
    static const char alphabet[] = " \t+-.0123456789eExXaAfFnNiIpP";
    std::string text;
    for (const uint8_t b : bytes) text += alphabet[b % (sizeof alphabet - 1)];
    return text;
}

void CheckNumber(const std::string& text) {
    const double read = ParseIniDouble(QString::fromLatin1(text.c_str()));
    const double strtodRead = std::strtod(text.c_str(), nullptr);
    const double want = std::isnan(strtodRead) ? 0 : strtodRead;
    if (read != want)
        std::fprintf(stderr, "\"%s\" read as %g, strtod: %g\n", text.c_str(), read, want);
    FUZZ_CHECK(read == want);
}

const QString& FilePath() {
    static const QString path = ScratchFolder() + QStringLiteral("/Fuzz.ini");
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    CheckNumber(NumberText(in.Bytes(in.Byte() % 24)));
    const QString section = SectionName(in.Bytes(in.Byte() % 12));
    const QString key = KeyName(in.Bytes(in.Byte() % 12));
    const QString value = Value(in.Bytes(in.Word() % 300));
    const std::vector<uint8_t> content = in.Rest();

    const QString& path = FilePath();
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(reinterpret_cast<const char*>(content.data()), qint64(content.size()));
    }
    INIFILE ini(path);
    // Whatever the file holds, a read returns; a value written is read back whole.
    ini.GetString(section, key, QStringLiteral("-"));
    ini.GetInt(section, key);

    FUZZ_CHECK(ini.WriteString(section, key, value));
    const QString back = ini.GetString(section, key, QStringLiteral("<missing>"));
    FUZZ_CHECK(back == value);
    // A second key in the same section leaves the first one alone.
    FUZZ_CHECK(ini.WriteInt(section, key + QStringLiteral("_n"), int(size)));
    FUZZ_CHECK(ini.GetInt(section, key + QStringLiteral("_n")) == int(size));
    FUZZ_CHECK(ini.GetString(section, key, QString()) == back);
    return 0;
}
