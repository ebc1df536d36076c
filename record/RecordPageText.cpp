#include "RecordPageText.h"

#include <time.h>

#include <cstdio>

namespace orsan {

const QStringList& RecordListTitles() {
    static const QStringList titles = [] {
        static const char* const kNames[kRecordValuesPerSlot] = {
            "T温度", "X加速度", "X速度",   "X位移", "Y加速度",
            "Y速度", "Y位移",   "Z加速度", "Z速度", "Z位移"};
        QStringList list{QStringLiteral("记录编号"), QStringLiteral("数据时间戳")};
        for (int slot = 1; slot <= kRecordSlots; ++slot)
            for (const char* name : kNames)
                list << QStringLiteral("[%1]").arg(slot) + QString::fromUtf8(name);
        return list;
    }();
    return titles;
}

int RecordListColumnWidth(int column) {
    if (column == 0) return 70;
    if (column == 1) return 160;
    return 72;
}

QString FormatLocalTime(qint64 secondsSinceEpoch) {
    tzset();
    const time_t t = time_t(secondsSinceEpoch);
    struct tm parts {};
    if (localtime_r(&t, &parts) == nullptr) return QStringLiteral("-");
    char text[64];
    const size_t length = strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return QString::fromLatin1(text, qsizetype(length));
}

QStringList RecordListCells(qint64 position, const StoredRecord& record) {
    QStringList cells;
    cells.reserve(kRecordListColumns);
    cells << QString::number(position);
    char millis[16];
    std::snprintf(millis, sizeof millis, ".%03d", record.milliseconds);
    cells << FormatLocalTime(record.time) + QLatin1String(millis);
    // A stale reading is no value: it shows as missing, never as its old number.
    static const QString kMissing = QStringLiteral("--");
    for (int i = 0; i < int(record.values.size()); ++i)
        cells << (record.fresh[size_t(i / kRecordValuesPerSlot)]
                      ? FormatRecordValue(i % kRecordValuesPerSlot, record.values[i])
                      : kMissing);
    return cells;
}

}  // namespace orsan
