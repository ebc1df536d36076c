#include "ReadingsCopyBinary.h"

#include <bit>
#include <cstring>

namespace orsan::store {

namespace {

// PostgreSQL's epoch, 2000-01-01 UTC, in Unix seconds.
constexpr int64_t kPostgresEpoch = 946684800;

template <typename T>
void AppendBigEndian(std::string& out, T value) {
    using U = std::make_unsigned_t<T>;
    auto bits = U(value);
    char bytes[sizeof(T)];
    for (size_t i = sizeof(T); i-- > 0; bits = U(bits >> 8)) bytes[i] = char(bits & 0xFF);
    out.append(bytes, sizeof(T));
}

template <typename T>
T ReadBigEndian(std::string_view from, size_t at) {
    using U = std::make_unsigned_t<T>;
    U bits = 0;
    for (size_t i = 0; i < sizeof(T); ++i) bits = U((bits << 8) | uint8_t(from[at + i]));
    return T(bits);
}

}  // namespace

int64_t AppendReadingsCopyBinary(const std::vector<LocalRecord>& records, SensorMask sensors,
                                 const std::string& station, std::string& out,
                                 std::vector<int64_t>* rowIds) {
    constexpr int16_t kFields = 3 + kStoreValues;
    int64_t rows = 0;
    for (const LocalRecord& record : records) {
        const SensorMask sent = SentSensors(record, sensors);
        if (sent.none()) continue;
        if (rowIds) rowIds->insert(rowIds->end(), sent.count(), record.rowId);
        const int64_t micros =
            (record.time - kPostgresEpoch) * 1000000 + int64_t(record.milliseconds) * 1000;
        for (int s = 0; s < kStoreSensors; ++s) {
            if (!sent.test(size_t(s))) continue;
            ++rows;
            AppendBigEndian<int16_t>(out, kFields);
            AppendBigEndian<int32_t>(out, int32_t(station.size()));
            out += station;
            AppendBigEndian<int32_t>(out, 8);
            AppendBigEndian<int64_t>(out, micros);
            AppendBigEndian<int32_t>(out, 2);
            AppendBigEndian<int16_t>(out, int16_t(s + 1));
            for (int v = 0; v < kStoreValues; ++v) {
                const int at = s * kStoreValues + v;
                if (record.isNull.test(size_t(at))) {
                    AppendBigEndian<int32_t>(out, -1);
                    continue;
                }
                AppendBigEndian<int32_t>(out, 4);
                AppendBigEndian<uint32_t>(
                    out, std::bit_cast<uint32_t>(float(record.values[size_t(at)])));
            }
        }
    }
    return rows;
}

std::string WithLeadingRowIds(std::string_view copy, const std::vector<int64_t>& rowIds) {
    std::string out;
    out.reserve(copy.size() + rowIds.size() * 12);
    out += kCopyBinaryHeader;
    size_t at = kCopyBinaryHeader.size();
    for (const int64_t rowId : rowIds) {
        if (at + 2 > copy.size()) break;
        const auto fields = ReadBigEndian<int16_t>(copy, at);
        if (fields < 0) break;  // the trailer
        size_t end = at + 2;
        for (int f = 0; f < fields && end + 4 <= copy.size(); ++f) {
            const auto length = ReadBigEndian<int32_t>(copy, end);
            end += 4 + size_t(length < 0 ? 0 : length);
        }
        AppendBigEndian<int16_t>(out, int16_t(fields + 1));
        AppendBigEndian<int32_t>(out, 8);
        AppendBigEndian<int64_t>(out, rowId);
        out.append(copy.substr(at + 2, end - at - 2));
        at = end;
    }
    out += kCopyBinaryTrailer;
    return out;
}

}  // namespace orsan::store
