#include "RecordPageText.h"

#include <time.h>

#include <QCoreApplication>
#include <cstdio>

namespace orsan {

QStringList RecordListTitles() {
    static const char* const kNames[kRecordValuesPerSlot] = {
        QT_TRANSLATE_NOOP("orsan::RecordPageText", "T温度"),
        QT_TRANSLATE_NOOP("orsan::RecordPageText", "X加速度"),
        QT_TRANSLATE_NOOP("orsan::RecordPageText", "X速度"),
        QT_TRANSLATE_NOOP("orsan::RecordPageText", "X位移"),
        QT_TRANSLATE_NOOP("orsan::RecordPageText", "Y加速度"),
        QT_TRANSLATE_NOOP("orsan::RecordPageText", "Y速度"),
        QT_TRANSLATE_NOOP("orsan::RecordPageText", "Y位移"),
        QT_TRANSLATE_NOOP("orsan::RecordPageText", "Z加速度"),
        QT_TRANSLATE_NOOP("orsan::RecordPageText", "Z速度"),
        QT_TRANSLATE_NOOP("orsan::RecordPageText", "Z位移")};
    const auto text = [](const char* source) {
        return QCoreApplication::translate("orsan::RecordPageText", source);
    };
    QStringList list{text(QT_TRANSLATE_NOOP("orsan::RecordPageText", "记录编号")),
                     text(QT_TRANSLATE_NOOP("orsan::RecordPageText", "数据时间戳"))};
    for (int slot = 1; slot <= kRecordSlots; ++slot)
        for (const char* name : kNames) list << QStringLiteral("[%1]").arg(slot) + text(name);
    return list;
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
