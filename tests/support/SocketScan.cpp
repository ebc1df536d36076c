#include "SocketScan.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <filesystem>
#include <string>

namespace orsan::test {

std::vector<int> SocketsConnectedTo(uint16_t port) {
    std::vector<int> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        const int fd = std::stoi(entry.path().filename().string());
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0) continue;
        if (peer.sin_family == AF_INET && ntohs(peer.sin_port) == port &&
            (ntohl(peer.sin_addr.s_addr) >> 24) == 127)
            found.push_back(fd);
    }
    return found;
}

bool IsCloseOnExec(int fd) {
    const int flags = ::fcntl(fd, F_GETFD);
    return flags != -1 && (flags & FD_CLOEXEC) != 0;
}

}  // namespace orsan::test
