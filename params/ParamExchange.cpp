#include "ParamExchange.h"

namespace orsan {

ReadOutcome ReadSensorParameters(const SensorEndpoint& endpoint, SensorParameters& values) {
    ReadOutcome outcome;
    ModbusTcpConnection connection;
    if (!connection.Open(endpoint)) return outcome;
    outcome.connected = true;

    std::array<uint16_t, 8> registers{};
    for (size_t i = 0; i < ReadRequests().size(); ++i) {
        const ReadRequest& request = ReadRequests()[i];
        if (connection.ReadHoldingRegisters(endpoint.unitId, request.transactionId,
                                            request.firstRegister, request.count,
                                            registers.data())) {
            ApplyReadReply(request.group, registers.data(), values);
            outcome.accepted[i] = true;
        }
    }
    connection.Close();
    return outcome;
}

bool IsWriteEcho(const ModbusReply& reply, int received, const RegisterWrite& write) {
    return received == int(kRequestSize) && reply[7] == kFunctionWriteSingle &&
           reply[8] == uint8_t(write.reg >> 8) && reply[9] == uint8_t(write.reg) &&
           reply[10] == uint8_t(write.value >> 8) && reply[11] == uint8_t(write.value);
}

WriteOutcome ExecuteWritePlan(const SensorEndpoint& endpoint,
                              const std::vector<RegisterWrite>& writes) {
    WriteOutcome outcome;
    outcome.planned = writes.size();
    ModbusTcpConnection connection;
    if (!connection.Open(endpoint)) return outcome;
    outcome.connected = true;

    ModbusReply reply;
    for (const RegisterWrite& write : writes) {
        const int received =
            connection.Transact(BuildRequest(write.transactionId, endpoint.unitId,
                                             kFunctionWriteSingle, write.reg, write.value),
                                kRequestSize, reply);
        if (IsWriteEcho(reply, received, write)) ++outcome.confirmed;
    }
    connection.Close();
    return outcome;
}

}  // namespace orsan
