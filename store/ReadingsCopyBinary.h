#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "LocalRecord.h"

namespace orsan::store {

// COPY's binary format for `readings`: the server parses no numbers or
// times, which makes a backlog go faster than in text.
inline constexpr std::string_view kCopyBinaryHeader{"PGCOPY\n\xff\r\n\0\0\0\0\0\0\0\0\0", 19};
inline constexpr std::string_view kCopyBinaryTrailer{"\xff\xff", 2};

// The same rows as AppendReadingsCopyText, as binary tuples (no header or
// trailer): station text, time timestamptz, sensor smallint, ten reals.
int64_t AppendReadingsCopyBinary(const std::vector<LocalRecord>& records, SensorMask sensors,
                                 const std::string& station, std::string& out,
                                 std::vector<int64_t>* rowIds = nullptr);

// A whole binary COPY (header, tuples, trailer) with each tuple led by a
// bigint field: its row's entry of `rowIds`.
std::string WithLeadingRowIds(std::string_view copy, const std::vector<int64_t>& rowIds);

}  // namespace orsan::store
