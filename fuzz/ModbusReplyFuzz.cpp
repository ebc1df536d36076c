// The Modbus receive path behind the socket seam: a scripted sensor answers
// with fuzzed bytes cut at fuzzed points. Checks the acceptance rule (the
// first frame, gathered over any segments, answers the request in every
// field; bytes after it do not matter) and, through ASan, that framing and
// decoding stay in bounds.
#include <algorithm>
#include <cstdint>

#include "FuzzInput.h"
#include "MeasurementRead.h"
#include "ModbusTcpConnection.h"
#include "ScriptedModbusPeer.h"

using namespace orsan;
using namespace orsan::fuzz;

namespace {

// Whether a read of count registers with this transaction id (unit 1)
// accepts the stream: it must begin with the whole matching answer.
bool Accepts(const std::vector<uint8_t>& stream, uint16_t transactionId, uint16_t count) {
    if (stream.size() < ReadReplyLength(count)) return false;
    const size_t length = 3 + 2 * size_t(count);
    const uint8_t header[9] = {uint8_t(transactionId >> 8), uint8_t(transactionId), 0, 0,
                               uint8_t(length >> 8),        uint8_t(length),        1, 3,
                               uint8_t(2 * count)};
    return std::equal(header, header + 9, stream.begin());
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
    const uint16_t count = pollerVisit ? kMeasurementRegisterCount : 1 + in.Word() % kMaxReadCount;
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

    // A visit's first read carries the counter's current id, 0 at first.
    const bool accepts =
        opened && !script.sendFails && Accepts(stream, pollerVisit ? 0 : 0x1234, count);
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
