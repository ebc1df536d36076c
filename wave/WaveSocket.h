#pragma once

#include <cstdint>

namespace orsan {

// Owns one file descriptor; closes it when dropped.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Close(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    void Close();

private:
    int fd_ = -1;
};

// A pipe whose write end wakes a thread blocked in WaitReadable/Connect.
class WakePipe {
public:
    WakePipe();
    bool Valid() const { return read_.Valid() && write_.Valid(); }
    void Wake();
    int ReadFd() const { return read_.Get(); }

private:
    UniqueFd read_;
    UniqueFd write_;
};

enum class WaitResult { Ready, TimedOut, Woken, Failed };

// TCP connect to address (first octet in the low byte) with a bounded wait.
// 0.0.0.0 never connects. On success the socket is back in blocking mode.
WaitResult ConnectWithin(uint32_t address, uint16_t port, int waitMs, int wakeFd, UniqueFd& out);

// Waits until fd has data (or its peer closed), the wake fd fires, or
// timeoutMs passes.
WaitResult WaitReadable(int fd, int wakeFd, int timeoutMs);

}  // namespace orsan
