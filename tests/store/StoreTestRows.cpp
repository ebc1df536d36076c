#include "StoreTestRows.h"

#include <gtest/gtest.h>

#include "RecordDatabase.h"

namespace orsan::test {

float KnownValue(int n, int sensor, int k) {
    return float(n % 1000) * 1000.0f + float(sensor) * 100.0f + float(k) * 10.0f + 0.5f;
}

int64_t KnownTimeMs(int n) {
    return kBaseTime * 1000 + int64_t(n) * 500 + 7;
}

RecordRow KnownRow(int n) {
    const int64_t ms = KnownTimeMs(n);
    RecordRow row;
    row.time = int32_t(ms / 1000);
    row.milliseconds = uint16_t(ms % 1000);
    for (int s = 1; s <= kSensorCount; ++s) {
        SensorSample& sample = row.sensors[size_t(s - 1)];
        sample.time = row.time;
        sample.milliseconds = row.milliseconds;
        float* fields[] = {&sample.T_Shell, &sample.Acc_X, &sample.Acc_Y, &sample.Acc_Z,
                           &sample.Vel_X,   &sample.Vel_Y, &sample.Vel_Z, &sample.Disp_X,
                           &sample.Disp_Y,  &sample.Disp_Z};
        for (int k = 0; k < 10; ++k) *fields[k] = KnownValue(n, s, k);
    }
    return row;
}

void WriteKnownRows(const QString& folder, int first, int count) {
    RecordDatabase database;
    ASSERT_TRUE(database.Open(folder)) << database.LastDiagnostic().toStdString();
    for (int n = first; n < first + count; ++n) ASSERT_TRUE(database.Insert(KnownRow(n)));
}

}  // namespace orsan::test
