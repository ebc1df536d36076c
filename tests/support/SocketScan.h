#pragma once

#include <cstdint>
#include <vector>

namespace orsan::test {

// The descriptors of this process that are TCP sockets connected to
// 127.x.x.x:port, found through /proc/self/fd.
std::vector<int> SocketsConnectedTo(uint16_t port);

// Whether the descriptor is closed in a child at exec (FD_CLOEXEC).
bool IsCloseOnExec(int fd);

}  // namespace orsan::test
