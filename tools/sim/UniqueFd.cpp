#include "UniqueFd.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace orsan::sim {

WakePipe::WakePipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    read_.Reset(fds[0]);
    write_.Reset(fds[1]);
}

void WakePipe::Wake() {
    const char byte = 1;
    // A full pipe already means "wake up"; nothing else can go wrong here.
    [[maybe_unused]] ssize_t n = ::write(write_.Get(), &byte, 1);
}

}  // namespace orsan::sim
