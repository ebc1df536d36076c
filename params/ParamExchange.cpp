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

WriteOutcome ExecuteWritePlan(const SensorEndpoint& endpoint,
                              const std::vector<RegisterWrite>& writes) {
    WriteOutcome outcome;
    outcome.planned = writes.size();
    ModbusTcpConnection connection;
    if (!connection.Open(endpoint)) return outcome;
    outcome.connected = true;

    for (const RegisterWrite& write : writes) {
        if (connection.WriteSingleRegister(endpoint.unitId, write.transactionId, write.reg,
                                           write.value))
            ++outcome.confirmed;
    }
    connection.Close();
    return outcome;
}

}  // namespace orsan
