#pragma once

#include <functional>

#include "RecordRow.h"

namespace orsan {

// Where the headless mode hands each row at the record interval, with the
// freshness of every sensor's reading.
using RecordRowSink = std::function<void(const RecordRow& row)>;

}  // namespace orsan
