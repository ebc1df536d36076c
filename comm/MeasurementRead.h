#pragma once

#include "MeasurementRecord.h"
#include "ModbusTcpConnection.h"

namespace orsan {

// The two reads of one visit on an open connection: registers 0..71 with the
// counter's current id, then register 133 with the next id, the second read
// sent whatever the first gave. Fills scratch (which the caller zeroed) and
// sets its CommOk from the first read alone; RunningSpeed stays 0 when the
// second read fails. fault (may be null) gets the first read's fault.
bool ReadMeasurements(ModbusTcpConnection& connection, uint8_t unitId, TransactionCounter& counter,
                      MeasurementRecord& scratch, AnswerFault* fault = nullptr);

}  // namespace orsan
