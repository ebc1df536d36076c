#pragma once

#include <cstdint>

#include "RecordRow.h"

namespace orsan {

class RecordDatabase;

// The record page's writing state: rows are written only while `recording`
// is on; the list follows every write at intervals of 1 s or more and every
// third write below 1 s (`fastInterval`).
class RecordWriter {
public:
    explicit RecordWriter(RecordDatabase& database) : database_(database) {}

    struct Outcome {
        bool attempted = false;  // recording was on
        bool written = false;    // the row is in the table
        bool reload = false;     // the list must be reloaded now
    };

    // Nothing happens while recording is off. Otherwise writeCount grows
    // before the write, so a failed write counts too, and the reload rule
    // applies whether the write succeeded or not.
    Outcome Write(const RecordRow& row);

    void SetFastInterval(int fast) { fastInterval = fast != 0 ? 1 : 0; }
    void SetRecording(bool on) { recording = on ? 1 : 0; }

    int FastInterval() const { return fastInterval; }
    bool IsRecording() const { return recording != 0; }
    uint32_t WriteCount() const { return writeCount; }

private:
    RecordDatabase& database_;
    int fastInterval = 0;
    int recording = 0;
    uint32_t writeCount = 0;  // writes attempted since creation; never reset
};

}  // namespace orsan
