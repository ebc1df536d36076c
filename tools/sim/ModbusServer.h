#pragma once

#include <modbus/modbus.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "ModbusReply.h"
#include "SimulatedSensor.h"
#include "SocketKit.h"

namespace orsan::sim {

// Called when 11 is written to register 76; false when the state could not
// be stored.
using SaveHook = std::function<bool()>;

// One sensor's Modbus TCP server: a thread that watches the listening socket
// and every client socket, answering one request at a time (or misbehaving as
// the sensor's fault says).
class ModbusServer {
public:
    // Listens at once; throws std::runtime_error when it cannot.
    ModbusServer(SimulatedSensor& sensor, uint16_t port, SaveHook onSave);
    ~ModbusServer();
    ModbusServer(const ModbusServer&) = delete;
    ModbusServer& operator=(const ModbusServer&) = delete;

    uint16_t Port() const { return port_; }
    void Start();
    void Stop();  // idempotent; joins the thread and closes every socket

private:
    struct ContextDeleter {
        void operator()(modbus_t* ctx) const { modbus_free(ctx); }
    };
    struct MappingDeleter {
        void operator()(modbus_mapping_t* m) const { modbus_mapping_free(m); }
    };

    void Run();
    void Accept();
    // Handles one request on a client socket; false when it must be closed.
    bool Serve(int fd);
    bool Answer(int fd, FaultMode mode, RequestVerdict verdict, const uint8_t* request, int length);

    SimulatedSensor& sensor_;
    SaveHook onSave_;
    std::unique_ptr<modbus_t, ContextDeleter> ctx_;
    std::unique_ptr<modbus_mapping_t, MappingDeleter> mapping_;
    UniqueFd listen_;
    uint16_t port_ = 0;
    WakePipe wake_;
    std::atomic<bool> stop_{false};
    std::vector<UniqueFd> clients_;
    std::thread thread_;
};

}  // namespace orsan::sim
