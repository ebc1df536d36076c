#include "RecordColumns.h"

#include <QStringList>
#include <cstdio>

namespace orsan {

namespace {

constexpr const char* kValueNames[kRecordValuesPerSlot] = {
    "Temp", "Xacc", "Xvel", "Xdisp", "Yacc", "Yvel", "Ydisp", "Zacc", "Zvel", "Zdisp"};

const std::array<QString, kRecordColumnCount>& Names() {
    static const std::array<QString, kRecordColumnCount> names = [] {
        std::array<QString, kRecordColumnCount> list;
        list[0] = QStringLiteral("Time");
        list[1] = QStringLiteral("msTime");
        for (int slot = 1; slot <= kRecordSlots; ++slot)
            for (int v = 0; v < kRecordValuesPerSlot; ++v)
                list[2 + (slot - 1) * kRecordValuesPerSlot + v] =
                    QLatin1String(kValueNames[v]) + QString::number(slot);
        return list;
    }();
    return names;
}

}  // namespace

const QString& RecordColumnName(int column) {
    return Names().at(column);
}

const QString& RecordColumnList() {
    static const QString list = [] {
        QStringList names;
        for (const QString& name : Names()) names << name;
        return names.join(QLatin1Char(','));
    }();
    return list;
}

QString FreshnessColumnName(int slot) {
    return QStringLiteral("Ok") + QString::number(slot);
}

QString StaleRowCondition(int slot) {
    return FreshnessColumnName(slot) + QStringLiteral(" = 0");
}

QString StaleIndexName(int slot) {
    return QStringLiteral("data_stale") + QString::number(slot);
}

QString StaleIndexSql(int slot) {
    return StaleIndexName(slot) + QStringLiteral(" ON data(Time) WHERE ") + StaleRowCondition(slot);
}

std::array<QString, kRecordValuesPerSlot> SlotColumnNames(int slot) {
    std::array<QString, kRecordValuesPerSlot> names;
    for (int v = 0; v < kRecordValuesPerSlot; ++v)
        names[v] = RecordColumnName(2 + (slot - 1) * kRecordValuesPerSlot + v);
    return names;
}

std::array<float, kRecordValuesPerSlot> SlotValues(const SensorSample& s) {
    return {s.T_Shell, s.Acc_X,  s.Vel_X, s.Disp_X, s.Acc_Y,
            s.Vel_Y,   s.Disp_Y, s.Acc_Z, s.Vel_Z,  s.Disp_Z};
}

void SetSlotValues(SensorSample& s, const std::array<float, kRecordValuesPerSlot>& v) {
    s.T_Shell = v[0];
    s.Acc_X = v[1];
    s.Vel_X = v[2];
    s.Disp_X = v[3];
    s.Acc_Y = v[4];
    s.Vel_Y = v[5];
    s.Disp_Y = v[6];
    s.Acc_Z = v[7];
    s.Vel_Z = v[8];
    s.Disp_Z = v[9];
}

bool IsOneDecimalValue(int valueIndex) {
    return valueIndex == 0 || valueIndex == 3 || valueIndex == 6 || valueIndex == 9;
}

QString FormatRecordValue(int valueIndex, float value) {
    char text[64];
    std::snprintf(text, sizeof text, IsOneDecimalValue(valueIndex) ? "%1.1f" : "%1.2f",
                  double(value));
    return QString::fromLatin1(text);
}

}  // namespace orsan
