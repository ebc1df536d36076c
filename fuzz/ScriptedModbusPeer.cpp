#include "ScriptedModbusPeer.h"

#include <fcntl.h>
#include <sys/eventfd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orsan::fuzz {

ScriptedModbusPeer::ScriptedModbusPeer(Script script)
    : script_(std::move(script)), waiting_(script_.segments.begin(), script_.segments.end()) {}

int ScriptedModbusPeer::Socket(int, int type, int) {
    // A real descriptor, so the connection's owner closes something real.
    flags_ = (type & SOCK_NONBLOCK) ? O_NONBLOCK : 0;
    return ::eventfd(0, EFD_CLOEXEC);
}

int ScriptedModbusPeer::Connect(int, const sockaddr*, socklen_t) {
    if (!script_.connectInProgress) return 0;
    // A blocking connect comes back unfinished only when a signal cut it short.
    errno = (flags_ & O_NONBLOCK) ? EINPROGRESS : EINTR;
    return -1;
}

bool ScriptedModbusPeer::Arrive() {
    // Empty segments carry nothing; skipping them keeps "ready" meaning
    // "a receive will return something".
    while (queued_.empty() && !waiting_.empty()) {
        queued_ = std::move(waiting_.front());
        waiting_.pop_front();
    }
    return !queued_.empty();
}

int ScriptedModbusPeer::Poll(pollfd* fds, nfds_t count, int) {
    for (nfds_t i = 0; i < count; ++i) fds[i].revents = 0;
    if (!sent_) {  // connecting: writable
        fds[0].revents = short(fds[0].events & POLLOUT);
        return fds[0].revents ? 1 : 0;
    }
    if (Arrive() || script_.closeAfterLast) {
        fds[0].revents = short(fds[0].events & POLLIN);
        return fds[0].revents ? 1 : 0;
    }
    return 0;  // silence until the deadline: returned at once
}

int ScriptedModbusPeer::GetSockOpt(int, int level, int name, void* value, socklen_t* length) {
    if (level == SOL_SOCKET && name == SO_ERROR && *length >= socklen_t(sizeof(int))) {
        const int pending = script_.connectRefused ? ECONNREFUSED : 0;
        std::memcpy(value, &pending, sizeof pending);
        return 0;
    }
    errno = ENOPROTOOPT;
    return -1;
}

int ScriptedModbusPeer::SetSockOpt(int, int, int, const void*, socklen_t) {
    return 0;
}

int ScriptedModbusPeer::GetFlags(int) {
    return flags_;
}

int ScriptedModbusPeer::SetFlags(int, int flags) {
    flags_ = flags;
    return 0;
}

ssize_t ScriptedModbusPeer::Send(int, const void* data, size_t length, int) {
    if (script_.sendFails) {
        errno = EPIPE;
        return -1;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    request_.assign(bytes, bytes + length);
    sent_ = true;
    return ssize_t(length);
}

ssize_t ScriptedModbusPeer::Receive(int, void* buffer, size_t length, int flags) {
    // A receive that may block waits for the next segment, as a poll does.
    if (sent_ && !(flags & MSG_DONTWAIT) && !(flags_ & O_NONBLOCK)) Arrive();
    if (!queued_.empty() && length > 0) {
        const size_t n = std::min(length, queued_.size());
        std::memcpy(buffer, queued_.data(), n);
        queued_.erase(queued_.begin(), queued_.begin() + long(n));
        delivered_ += n;
        return ssize_t(n);
    }
    if (sent_ && waiting_.empty() && script_.closeAfterLast) return 0;
    errno = EAGAIN;
    return -1;
}

}  // namespace orsan::fuzz
