#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orsan::sim {

// Sends every byte (no SIGPIPE); false when the peer is gone.
bool SendAll(int fd, const void* data, size_t length);

// The port a bound socket ended up on.
uint16_t LocalPort(int fd);

// A listening IPv4 TCP socket on address:port; throws std::runtime_error.
int ListenTcp(const std::string& address, uint16_t port);

}  // namespace orsan::sim
