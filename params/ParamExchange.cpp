#include "ParamExchange.h"

#include <algorithm>

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

bool IsWriteEcho(const ModbusReply& reply, int received, const ModbusRequest& request) {
    return received == int(kRequestSize) &&
           std::equal(request.begin(), request.end(), reply.begin());
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
        const ModbusRequest request = BuildRequest(write.transactionId, endpoint.unitId,
                                                   kFunctionWriteSingle, write.reg, write.value);
        const int received = connection.Transact(request, kRequestSize, reply);
        if (IsWriteEcho(reply, received, request)) ++outcome.confirmed;
    }
    connection.Close();
    return outcome;
}

}  // namespace orsan
