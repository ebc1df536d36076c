#pragma once

#include "HistoryChart.h"
#include "RecordDatabase.h"

namespace orsan {

// One sensor's rows of the record database for the history chart.
class RecordHistorySource : public HistorySource {
public:
    RecordHistorySource(RecordDatabase& database, int sensor);

    bool ReadRows(double from, double to, HistoryReduction& into, QString* error) override;
    bool NearestRow(double at, double from, double to, std::optional<SensorSample>* row,
                    QString* error) override;
    bool ReadBands(double from, double to, HistoryDetail detail, HistoryBands* bands,
                   QString* error) override;

    int Sensor() const { return sensor_; }

private:
    RecordDatabase& database_;
    int sensor_;
};

// Seconds with milliseconds to whole milliseconds.
qint64 SecondsToMs(double seconds);

}  // namespace orsan
