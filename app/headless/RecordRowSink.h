#pragma once

#include <functional>

#include "RecordRow.h"

namespace orsan {

// Where the headless mode hands each row at the record interval, with the
// freshness of every sensor's reading. False when recording cannot go on
// (the sink has said why): the run ends with code 1.
using RecordRowSink = std::function<bool(const RecordRow& row)>;

}  // namespace orsan
