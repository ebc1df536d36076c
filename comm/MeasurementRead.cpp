#include "MeasurementRead.h"

namespace orsan {

bool ReadMeasurements(ModbusTcpConnection& connection, uint8_t unitId, TransactionCounter& counter,
                      MeasurementRecord& scratch, AnswerFault* fault) {
    std::array<uint16_t, kMeasurementRegisterCount> block{};
    scratch.CommOk =
        connection.ReadHoldingRegisters(unitId, counter.Current(), kMeasurementFirstRegister,
                                        kMeasurementRegisterCount, block.data());
    if (scratch.CommOk) DecodeMeasurementBlock(block, scratch);
    if (fault) *fault = connection.LastFault();

    uint16_t speed = 0;
    if (connection.ReadHoldingRegisters(unitId, counter.Next(), kRunningSpeedRegister, 1, &speed)) {
        scratch.RunningSpeed = DecodeRunningSpeed(speed);
    }
    return scratch.CommOk;
}

}  // namespace orsan
