#pragma once

#include <chrono>
#include <cstdint>

#include "SocketCalls.h"

namespace orsan {

// Owns one file descriptor; closes it when dropped or reset.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    // Closes the descriptor held, then holds fd.
    void Reset(int fd = -1);

private:
    int fd_ = -1;
};

// A pipe whose write end wakes a thread waiting in WaitUntil/ConnectWithin on
// the read end. Wake is safe from any thread.
class WakePipe {
public:
    WakePipe();
    bool Valid() const { return read_.Valid() && write_.Valid(); }
    void Wake();
    // Takes back every wake so far, so the next wait blocks again.
    void Drain();
    int ReadFd() const { return read_.Get(); }

private:
    UniqueFd read_;
    UniqueFd write_;
};

using Deadline = std::chrono::steady_clock::time_point;

Deadline DeadlineAfter(int milliseconds);

// Milliseconds left until deadline, rounded up so a wait never ends early;
// 0 once it has passed.
int RemainingMs(Deadline deadline);

enum class WaitResult { Ready, TimedOut, Woken, Failed };

// Waits until fd reports one of events (or an error or hang-up), the wake fd
// (if >= 0) becomes readable, or the deadline passes. Signals do not shorten
// or lengthen the wait.
WaitResult WaitUntil(SocketCalls& calls, int fd, short events, int wakeFd, Deadline deadline);

// TCP connect to address (first octet in the low byte) with a bounded wait,
// cut short by the wake fd (if >= 0). 0.0.0.0 never connects: Linux would
// route it to this host, and the station uses it for "no sensor here". On
// success out holds the socket, back in blocking mode; otherwise out is empty.
WaitResult ConnectWithin(SocketCalls& calls, uint32_t address, uint16_t port, int waitMs,
                         int wakeFd, UniqueFd& out);

// The same connect for a thread that needs no waking: a blocking socket whose
// own send and receive time-outs bound the connect (waitMs) and every later
// send and receive (ioLimitMs). Fewer system calls than ConnectWithin and no
// timer armed by poll per wait; a signal during the connect falls back to
// waiting in poll for what is left of waitMs.
WaitResult ConnectBlocking(SocketCalls& calls, uint32_t address, uint16_t port, int waitMs,
                           int ioLimitMs, UniqueFd& out);

}  // namespace orsan
