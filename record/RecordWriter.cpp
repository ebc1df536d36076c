#include "RecordWriter.h"

#include "RecordDatabase.h"

namespace orsan {

RecordWriter::Outcome RecordWriter::Write(const RecordRow& row) {
    Outcome outcome;
    if (recording == 0) return outcome;
    outcome.attempted = true;
    ++writeCount;
    outcome.written = database_.Insert(row);
    outcome.reload = fastInterval == 0 || writeCount % 3 == 0;
    return outcome;
}

}  // namespace orsan
