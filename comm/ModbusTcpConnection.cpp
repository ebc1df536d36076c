#include "ModbusTcpConnection.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orsan {

namespace {

constexpr size_t kMinLengthField = 2;    // unit id and function code
constexpr size_t kMaxLengthField = 254;  // unit id and the largest PDU
// Earlier transaction ids a connection remembers: a visit sends two, the
// parameter dialog up to eight.
constexpr size_t kRememberedIds = 16;

uint16_t Word(const uint8_t* bytes) {
    return uint16_t(bytes[0] << 8 | bytes[1]);
}

}  // namespace

const char* AnswerFaultName(AnswerFault fault) {
    switch (fault) {
        case AnswerFault::None:
            return "none";
        case AnswerFault::NotOpen:
            return "not connected";
        case AnswerFault::SendFailed:
            return "send failed";
        case AnswerFault::NoAnswer:
            return "no answer";
        case AnswerFault::Incomplete:
            return "incomplete answer";
        case AnswerFault::Closed:
            return "connection closed";
        case AnswerFault::TransactionId:
            return "transaction id";
        case AnswerFault::ProtocolId:
            return "protocol id";
        case AnswerFault::UnitId:
            return "unit id";
        case AnswerFault::FunctionCode:
            return "function code";
        case AnswerFault::Exception:
            return "exception";
        case AnswerFault::ByteCount:
            return "byte count";
        case AnswerFault::LengthField:
            return "length field";
        case AnswerFault::NotEcho:
            return "not an echo";
    }
    return "unknown";
}

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
    answerLimitMs_ = std::clamp(endpoint.answerLimitMs, kMinAnswerLimitMs, kMaxAnswerLimitMs);
    answerMayFollow_ = false;
    buffered_ = 0;
    sentIds_.clear();
    return ConnectBlocking(calls_, endpoint.address, endpoint.port, answerLimitMs_, answerLimitMs_,
                           fd_) == WaitResult::Ready;
}

void ModbusTcpConnection::DiscardPending() {
    // A late answer to an earlier request must never pass for the next one.
    // Bounded, so a peer that streams without pause cannot hold us here.
    buffered_ = 0;
    for (int i = 0; i < 64; ++i) {
        const ssize_t n = calls_.Receive(fd_.Get(), buffer_.data(), buffer_.size(), MSG_DONTWAIT);
        if (n <= 0) return;
    }
}

AnswerFault ModbusTcpConnection::Fill(size_t size, Deadline deadline, bool& waited) {
    while (buffered_ < size) {
        // The first receive blocks, ended by the socket's receive time-out
        // (the answer limit, from just after the send); later ones wait for
        // what is left of the deadline. Each takes everything queued.
        int flags = 0;
        if (waited) {
            flags = MSG_DONTWAIT;
            if (WaitUntil(calls_, fd_.Get(), POLLIN, -1, deadline) != WaitResult::Ready)
                return buffered_ == 0 ? AnswerFault::NoAnswer : AnswerFault::Incomplete;
        }
        waited = true;
        const ssize_t n = calls_.Receive(fd_.Get(), buffer_.data() + buffered_,
                                         buffer_.size() - buffered_, flags);
        if (n > 0) {
            buffered_ += size_t(n);
        } else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            return AnswerFault::Closed;  // closed or reset
        }
    }
    return AnswerFault::None;
}

void ModbusTcpConnection::Consume(size_t size) {
    std::memmove(buffer_.data(), buffer_.data() + size, buffered_ - size);
    buffered_ -= size;
}

bool ModbusTcpConnection::SentEarlier(uint16_t transactionId) const {
    // The newest id is the request being answered.
    return std::find(sentIds_.begin(), sentIds_.end() - 1, transactionId) != sentIds_.end() - 1;
}

AnswerFault ModbusTcpConnection::Exchange(const ModbusRequest& request, ModbusFrame& answer) {
    lastFault_ = [&] {
        if (!fd_.Valid()) return AnswerFault::NotOpen;
        // A sensor speaks only when asked: nothing stale can be waiting before
        // the first request, nor after an exchange that ended on exactly one
        // answer. A duplicate arriving later carries an earlier id and is
        // skipped.
        if (answerMayFollow_) DiscardPending();
        answerMayFollow_ = true;
        buffered_ = 0;

        const ssize_t sent = calls_.Send(fd_.Get(), request.data(), request.size(), MSG_NOSIGNAL);
        if (sent != ssize_t(request.size())) return AnswerFault::SendFailed;
        if (sentIds_.size() == kRememberedIds) sentIds_.erase(sentIds_.begin());
        sentIds_.push_back(Word(&request[0]));
        const Deadline deadline = DeadlineAfter(answerLimitMs_);

        bool waited = false;
        for (;;) {
            if (const AnswerFault f = Fill(kMbapHeaderSize, deadline, waited);
                f != AnswerFault::None)
                return f;
            const size_t length = Word(&buffer_[4]);
            if (length < kMinLengthField || length > kMaxLengthField)
                return AnswerFault::LengthField;
            const size_t frameSize = 6 + length;
            const uint16_t id = Word(&buffer_[0]);
            if (id != Word(&request[0])) {
                if (!SentEarlier(id)) return AnswerFault::TransactionId;
                // A late answer to an earlier request: the right one may follow.
                if (const AnswerFault f = Fill(frameSize, deadline, waited); f != AnswerFault::None)
                    return f;
                Consume(frameSize);
                continue;
            }
            if (Word(&buffer_[2]) != 0) return AnswerFault::ProtocolId;
            if (buffer_[6] != request[6]) return AnswerFault::UnitId;
            if (const AnswerFault f = Fill(frameSize, deadline, waited); f != AnswerFault::None)
                return f;
            std::copy_n(buffer_.begin(), frameSize, answer.bytes.begin());
            answer.size = frameSize;
            // Whatever came with the answer is dropped; more of it may follow.
            answerMayFollow_ = buffered_ != frameSize;
            buffered_ = 0;
            const uint8_t function = answer.Function();
            if (function == request[7]) return AnswerFault::None;
            if (function != (request[7] | 0x80)) return AnswerFault::FunctionCode;
            return length == 3 ? AnswerFault::Exception : AnswerFault::LengthField;
        }
    }();
    return lastFault_;
}

bool ModbusTcpConnection::ReadHoldingRegisters(uint8_t unitId, uint16_t transactionId,
                                               uint16_t firstRegister, uint16_t count,
                                               uint16_t* out) {
    // A read of nothing would "accept" an answer without data.
    if (count == 0 || count > kMaxReadCount || out == nullptr) return false;

    ModbusFrame answer;
    if (Exchange(BuildRequest(transactionId, unitId, kFunctionReadHolding, firstRegister, count),
                 answer) != AnswerFault::None)
        return false;
    const size_t length = answer.size - 6;
    if (length < 3) {
        lastFault_ = AnswerFault::LengthField;
    } else if (answer.Data()[0] != 2 * count) {
        lastFault_ = AnswerFault::ByteCount;
    } else if (length != 3 + 2 * size_t(count)) {
        lastFault_ = AnswerFault::LengthField;
    }
    if (lastFault_ != AnswerFault::None) return false;
    for (size_t k = 0; k < count; ++k) out[k] = Word(answer.Data() + 1 + 2 * k);
    return true;
}

bool ModbusTcpConnection::WriteSingleRegister(uint8_t unitId, uint16_t transactionId, uint16_t reg,
                                              uint16_t value) {
    const ModbusRequest request =
        BuildRequest(transactionId, unitId, kFunctionWriteSingle, reg, value);
    ModbusFrame answer;
    if (Exchange(request, answer) != AnswerFault::None) return false;
    if (answer.size != kRequestSize) {
        lastFault_ = AnswerFault::LengthField;
    } else if (!std::equal(request.begin(), request.end(), answer.bytes.begin())) {
        lastFault_ = AnswerFault::NotEcho;
    }
    return lastFault_ == AnswerFault::None;
}

}  // namespace orsan
