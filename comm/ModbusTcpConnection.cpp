#include "ModbusTcpConnection.h"

#include <sys/socket.h>

#include <cerrno>

namespace orsan {

namespace {

// An exception answer: function code with the high bit, length field 3,
// nine bytes in all. Nothing longer can follow from a sane peer, so the
// wait for more can end.
bool IsExceptionFrame(const uint8_t* data, size_t size) {
    return size == 9 && data[4] == 0 && data[5] == 3 && (data[7] & 0x80) != 0;
}

}  // namespace

ModbusRequest BuildRequest(uint16_t transactionId, uint8_t unitId, uint8_t function,
                           uint16_t firstRegister, uint16_t countOrValue) {
    return ModbusRequest{uint8_t(transactionId >> 8),
                         uint8_t(transactionId),
                         0,
                         0,
                         0,
                         6,
                         unitId,
                         function,
                         uint8_t(firstRegister >> 8),
                         uint8_t(firstRegister),
                         uint8_t(countOrValue >> 8),
                         uint8_t(countOrValue)};
}

bool ModbusTcpConnection::Open(const SensorEndpoint& endpoint) {
    Close();
    if (ConnectBlocking(calls_, endpoint.address, endpoint.port, kConnectWaitMs, kReceiveLimitMs,
                        fd_) != WaitResult::Ready)
        return false;
    answerMayFollow_ = false;
    return true;
}

void ModbusTcpConnection::DiscardPending() {
    // A late answer to an earlier request must never pass for the next one.
    // Bounded, so a peer that streams without pause cannot hold us here.
    ModbusReply scratch;
    for (int i = 0; i < 64; ++i) {
        const ssize_t n = calls_.Receive(fd_.Get(), scratch.data(), scratch.size(), MSG_DONTWAIT);
        if (n <= 0) return;
    }
}

int ModbusTcpConnection::Transact(const ModbusRequest& request, size_t expectedLength,
                                  ModbusReply& reply) {
    if (!fd_.Valid()) return -1;
    // A sensor speaks only when asked: nothing stale can be waiting before
    // the first request, nor after an answer of exactly the expected length.
    // A duplicate of such an answer would make the next count wrong, which
    // fails that read, and dies with the socket after the visit.
    if (answerMayFollow_) DiscardPending();
    answerMayFollow_ = true;

    const ssize_t sent = calls_.Send(fd_.Get(), request.data(), request.size(), MSG_NOSIGNAL);
    if (sent != ssize_t(request.size())) return -1;
    const Deadline deadline = DeadlineAfter(kReceiveLimitMs);

    // Each receive takes everything queued, up to the whole buffer, so bytes
    // beyond expectedLength that came with the answer are counted; one that
    // leaves room in the buffer has emptied the queue. The first receive blocks, ended by
    // the socket's receive time-out (kReceiveLimitMs from just after the
    // send); the rest of a split answer is waited for until the deadline.
    size_t got = 0;
    int flags = 0;
    while (got < expectedLength && got < reply.size()) {
        if (flags == MSG_DONTWAIT &&
            WaitUntil(calls_, fd_.Get(), POLLIN, -1, deadline) != WaitResult::Ready)
            break;
        const ssize_t n = calls_.Receive(fd_.Get(), reply.data() + got, reply.size() - got, flags);
        flags = MSG_DONTWAIT;
        if (n > 0) {
            got += size_t(n);
            if (IsExceptionFrame(reply.data(), got)) break;
            continue;
        }
        if (n == 0) break;                                                     // peer closed
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) break;  // reset
    }
    answerMayFollow_ = got != expectedLength;
    return got == 0 ? -1 : int(got);
}

bool ModbusTcpConnection::ReadHoldingRegisters(uint8_t unitId, uint16_t transactionId,
                                               uint16_t firstRegister, uint16_t count,
                                               uint16_t* out) {
    const size_t expected = ReadReplyLength(count);
    // A read of nothing would "accept" a 9-byte exception answer.
    if (count == 0 || expected > kReceiveBufferSize || out == nullptr) return false;

    ModbusReply reply;
    const int got =
        Transact(BuildRequest(transactionId, unitId, kFunctionReadHolding, firstRegister, count),
                 expected, reply);
    if (got != int(expected)) return false;
    for (size_t k = 0; k < count; ++k) {
        out[k] = uint16_t(reply[9 + 2 * k] << 8 | reply[10 + 2 * k]);
    }
    return true;
}

}  // namespace orsan
