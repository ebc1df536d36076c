// The Modbus receive path behind the socket seam: a scripted sensor answers
// with fuzzed bytes cut at fuzzed points. Checks the acceptance rule (exactly
// 2*count+9 bytes, gathered over segments, an early 9-byte exception frame
// ending the wait) and, through ASan, that decoding stays in bounds.
#include <cstdint>
#include <set>

#include "FuzzInput.h"
#include "MeasurementRead.h"
#include "ModbusTcpConnection.h"
#include "ScriptedModbusPeer.h"

using namespace orsan;
using namespace orsan::fuzz;

namespace {

constexpr uint16_t kLargestCount = (kReceiveBufferSize - 9) / 2;

bool IsException(const std::vector<uint8_t>& s) {
    return s.size() >= 9 && s[4] == 0 && s[5] == 3 && (s[7] & 0x80) != 0;
}

// Whether a read expecting `expected` bytes accepts this script: the stream
// must reach exactly `expected` at the end of a segment, and not stop first
// at a 9-byte exception frame that ends a segment.
bool Accepts(const std::vector<uint8_t>& stream, const std::vector<size_t>& pieces,
             size_t expected) {
    std::set<size_t> ends;
    size_t sum = 0;
    for (const size_t piece : pieces) {
        if (piece == 0) continue;
        sum += piece;
        ends.insert(sum);
    }
    if (ends.count(9) && IsException(stream) && expected != 9) return false;
    return ends.count(expected) != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t flags = in.Byte();
    ScriptedModbusPeer::Script script;
    script.connectInProgress = flags & 1;
    script.connectRefused = flags & 2;
    script.sendFails = flags & 4;
    script.closeAfterLast = flags & 8;
    const bool pollerVisit = flags & 16;
    const uint16_t count = pollerVisit ? kMeasurementRegisterCount : 1 + in.Word() % kLargestCount;
    std::vector<size_t> cuts(in.Byte() % 8);
    for (size_t& cut : cuts) cut = in.Word();
    const std::vector<uint8_t> stream = in.Rest();
    const std::vector<size_t> pieces = PieceLengths(stream.size(), cuts);
    size_t offset = 0;
    for (const size_t piece : pieces) {
        script.segments.emplace_back(stream.begin() + long(offset),
                                     stream.begin() + long(offset + piece));
        offset += piece;
    }

    ScriptedModbusPeer peer(script);
    ModbusTcpConnection connection(peer);
    const bool opened = connection.Open(SensorEndpoint{MakeAddress(127, 0, 0, 1), 502, 1});
    FUZZ_CHECK(opened == !(script.connectInProgress && script.connectRefused));
    FUZZ_CHECK(connection.IsOpen() == opened);

    const bool accepts =
        opened && !script.sendFails && Accepts(stream, pieces, ReadReplyLength(count));
    if (pollerVisit) {
        TransactionCounter counter;
        MeasurementRecord record;
        const bool ok = ReadMeasurements(connection, 1, counter, record);
        FUZZ_CHECK(ok == accepts);
        FUZZ_CHECK(record.CommOk == accepts);
        return 0;
    }

    std::vector<uint16_t> values(count, 0xA5A5);
    const bool ok = connection.ReadHoldingRegisters(1, 0x1234, 7, count, values.data());
    FUZZ_CHECK(ok == accepts);
    if (opened && !script.sendFails) {
        const ModbusRequest sent = BuildRequest(0x1234, 1, kFunctionReadHolding, 7, count);
        FUZZ_CHECK(peer.Request() == std::vector<uint8_t>(sent.begin(), sent.end()));
    }
    if (ok) {
        for (size_t k = 0; k < count; ++k)
            FUZZ_CHECK(values[k] == uint16_t(stream[9 + 2 * k] << 8 | stream[10 + 2 * k]));
    }
    FUZZ_CHECK(peer.Delivered() <= stream.size());
    return 0;
}
