// The record database opener on any file content in place of DataRecord.db:
// refused or opened, never crashed on; a refused file is left byte for byte
// as it was, and a file is adopted only when it holds no other program's
// tables.
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <optional>

#include "FuzzInput.h"
#include "RecordDatabase.h"
#include "ScratchFolder.h"

using namespace orsan;
using namespace orsan::fuzz;

namespace {

void RemoveDatabaseFiles(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The tables of a copy of the content, read by a plain connection;
// nothing when SQLite cannot read it.
std::optional<QStringList> TablesOf(const QByteArray& content) {
    const QString copy = ScratchFolder() + QStringLiteral("/Reference.db");
    RemoveDatabaseFiles(copy);
    {
        QFile file(copy);
        if (!file.open(QIODevice::WriteOnly)) return std::nullopt;
        file.write(content);
    }
    std::optional<QStringList> tables;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "reference");
        db.setDatabaseName(copy);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"))) {
                tables.emplace();
                while (query.next()) tables->append(query.value(0).toString());
            }
        }
    }
    QSqlDatabase::removeDatabase("reference");
    RemoveDatabaseFiles(copy);
    return tables;
}

bool OnlyOurs(const QStringList& tables) {
    for (const QString& name : tables) {
        if (name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)) continue;
        if (name.compare(QLatin1String("data"), Qt::CaseInsensitive) != 0) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The SQL driver is a plugin; finding it needs an application object.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = RecordDatabase::PathIn(ScratchFolder());
    RemoveDatabaseFiles(path);
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        FUZZ_CHECK(file.write(content) == content.size());
    }

    bool opened = false;
    {
        RecordDatabase db;
        opened = db.Open(ScratchFolder());
        if (opened) {
            // An adopted file works: the page query runs on it.
            RecordPage page;
            db.LoadLastPage(10, &page);
        }
    }
    if (!opened) {
        FUZZ_CHECK(ReadFile(path) == content);
        return 0;
    }
    const std::optional<QStringList> tables = TablesOf(content);
    FUZZ_CHECK(tables.has_value());
    FUZZ_CHECK(OnlyOurs(*tables));
    return 0;
}
