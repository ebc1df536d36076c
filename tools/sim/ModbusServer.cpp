#include "ModbusServer.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include "ModbusReply.h"
#include "SocketIo.h"

namespace orsan::sim {

namespace {

// The pause between the two halves of a split answer: long enough that the
// halves travel as separate segments and a single receive sees only the first.
constexpr auto kSplitPause = std::chrono::milliseconds(50);
constexpr int kListenBacklog = 16;

}  // namespace

ModbusServer::ModbusServer(SimulatedSensor& sensor, uint16_t port, SaveHook onSave)
    : sensor_(sensor), onSave_(std::move(onSave)) {
    ctx_.reset(modbus_new_tcp(sensor.address.c_str(), port));
    if (!ctx_) {
        throw std::runtime_error("cannot create Modbus server for " + sensor.address + ": " +
                                 modbus_strerror(errno));
    }
    if (!wake_.Valid()) throw std::runtime_error("cannot create the wake pipe");
    mapping_.reset(modbus_mapping_new(0, 0, kRegisterCount, 0));
    if (!mapping_) throw std::runtime_error("cannot allocate the register block");
    const int fd = modbus_tcp_listen(ctx_.get(), kListenBacklog);
    if (fd < 0) {
        throw std::runtime_error("cannot listen on " + sensor.address + ":" + std::to_string(port) +
                                 ": " + std::strerror(errno));
    }
    listen_.Reset(fd);
    port_ = LocalPort(fd);
}

ModbusServer::~ModbusServer() {
    Stop();
}

void ModbusServer::Start() {
    thread_ = std::thread([this] { Run(); });
}

void ModbusServer::Stop() {
    stop_ = true;
    wake_.Wake();
    if (thread_.joinable()) thread_.join();
    clients_.clear();
    listen_.Reset();
}

void ModbusServer::Run() {
    std::vector<pollfd> fds;
    while (!stop_) {
        fds.clear();
        fds.push_back({wake_.ReadFd(), POLLIN, 0});
        fds.push_back({listen_.Get(), POLLIN, 0});
        for (const auto& c : clients_) fds.push_back({c.Get(), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            std::perror("orsan-sensor-sim: poll");
            return;
        }
        if (stop_) return;
        if (fds[1].revents & POLLIN) Accept();
        // Walk the clients that were polled; Accept only appends.
        std::vector<int> closing;
        for (size_t i = 2; i < fds.size(); ++i) {
            if (fds[i].revents == 0) continue;
            if (!Serve(fds[i].fd)) closing.push_back(fds[i].fd);
        }
        std::erase_if(clients_, [&](const UniqueFd& c) {
            return std::find(closing.begin(), closing.end(), c.Get()) != closing.end();
        });
    }
}

void ModbusServer::Accept() {
    const int fd = ::accept4(listen_.Get(), nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;  // the peer gave up already, or out of descriptors: try again later
    const int one = 1;
    // Every send goes out at once, so a split answer really is two segments.
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    clients_.emplace_back(fd);
}

bool ModbusServer::Serve(int fd) {
    uint8_t request[MODBUS_TCP_MAX_ADU_LENGTH];
    modbus_set_socket(ctx_.get(), fd);
    const int length = modbus_receive(ctx_.get(), request);
    if (length < 0) return false;  // closed, reset or a garbled request
    if (length == 0) return true;  // not a request for this server
    const RequestVerdict verdict = JudgeRequest(request, size_t(length));
    if (verdict == RequestVerdict::Close) return false;
    if (verdict == RequestVerdict::Ignore) return true;
    const FaultMode mode = sensor_.faults.Effective(Clock::now());
    if (mode == FaultMode::Silent) return true;
    if (mode == FaultMode::Close) return false;
    return Answer(fd, mode, verdict, request, length);
}

bool ModbusServer::Answer(int fd, FaultMode mode, RequestVerdict verdict, const uint8_t* request,
                          int length) {
    modbus_t* ctx = ctx_.get();
    const auto exception = [&](unsigned code) {
        return modbus_reply_exception(ctx, request, code) >= 0;
    };
    if (mode == FaultMode::Exception) return exception(MODBUS_EXCEPTION_SLAVE_OR_SERVER_FAILURE);
    switch (verdict) {
        case RequestVerdict::IllegalFunction:
            return exception(MODBUS_EXCEPTION_ILLEGAL_FUNCTION);
        case RequestVerdict::IllegalAddress:
            return exception(MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS);
        case RequestVerdict::IllegalValue:
            return exception(MODBUS_EXCEPTION_ILLEGAL_DATA_VALUE);
        default:
            break;
    }
    const uint8_t function = request[7];
    if (function == 6 || function == 16) {
        const int first = (request[8] << 8) | request[9];
        const int count = function == 6 ? 1 : (request[10] << 8) | request[11];
        const uint8_t* values = request + (function == 6 ? 10 : 13);
        std::vector<std::pair<int, uint16_t>> writes;
        bool save = false;
        for (int i = 0; i < count; ++i) {
            const uint16_t value = uint16_t((values[2 * i] << 8) | values[2 * i + 1]);
            writes.emplace_back(first + i, value);
            save = save || (first + i == kRegSaveCommand && value == kSaveCommandValue);
        }
        if (!sensor_.model.WriteConfig(writes))
            return exception(MODBUS_EXCEPTION_ILLEGAL_DATA_ADDRESS);
        if (save && onSave_ && !onSave_())
            return exception(MODBUS_EXCEPTION_SLAVE_OR_SERVER_FAILURE);
    }
    const RegisterBlock regs = sensor_.model.Registers(Clock::now());
    std::copy(regs.begin(), regs.end(), mapping_->tab_registers);

    auto reply = BuildReply(request, size_t(length), regs);
    if (mode == FaultMode::None || !reply) {
        return modbus_reply(ctx, request, length, mapping_.get()) >= 0;
    }
    switch (mode) {
        case FaultMode::Split: {
            const size_t half = reply->size() / 2;
            if (!SendAll(fd, reply->data(), half)) return false;
            std::this_thread::sleep_for(kSplitPause);
            return SendAll(fd, reply->data() + half, reply->size() - half);
        }
        case FaultMode::Long:
            reply->push_back(0);
            return SendAll(fd, reply->data(), reply->size());
        case FaultMode::Short:
            return SendAll(fd, reply->data(), reply->size() - 1);
        default:
            return modbus_reply(ctx, request, length, mapping_.get()) >= 0;
    }
}

}  // namespace orsan::sim
