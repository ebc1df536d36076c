#include "StateStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "RegisterMap.h"
#include "SocketKit.h"

namespace orsan::sim {

StateStore::StateStore(std::string path) : path_(std::move(path)) {}

bool StateStore::Load(std::vector<std::string>& warnings) {
    if (path_.empty()) return true;
    std::ifstream in(path_);
    if (!in) {
        if (errno == ENOENT) return true;
        warnings.push_back("cannot read " + path_ + ": " + std::strerror(errno));
        return false;
    }
    std::lock_guard lock(mutex_);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        long sensor = 0, reg = 0, value = 0;
        std::string extra;
        if (!(fields >> sensor >> reg >> value) || (fields >> extra) || sensor < 1 ||
            !IsConfigRegister(int(reg)) || value < 0 || value > 65535) {
            warnings.push_back(path_ + ":" + std::to_string(lineNo) + ": ignored: " + line);
            continue;
        }
        auto& values = saved_[int(sensor)];
        std::erase_if(values, [&](const auto& p) { return p.first == reg; });
        values.emplace_back(int(reg), uint16_t(value));
    }
    return true;
}

ConfigValues StateStore::Saved(int sensor) const {
    std::lock_guard lock(mutex_);
    auto it = saved_.find(sensor);
    return it == saved_.end() ? ConfigValues{} : it->second;
}

bool StateStore::Save(int sensor, const ConfigValues& values, std::string& error) {
    std::lock_guard lock(mutex_);
    saved_[sensor] = values;
    return WriteFileLocked(error);
}

bool StateStore::WriteFileLocked(std::string& error) const {
    if (path_.empty()) return true;
    std::string text = "# orsan-sensor-sim saved configuration: sensor register value\n";
    for (const auto& [sensor, values] : saved_) {
        for (const auto& [reg, value] : values) {
            text += std::to_string(sensor) + " " + std::to_string(reg) + " " +
                    std::to_string(value) + "\n";
        }
    }
    // Written beside the target and renamed over it, so a reader (or a crash)
    // never meets half a file.
    const std::string temp = path_ + ".tmp" + std::to_string(::getpid());
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!fd.Valid()) {
        error = "cannot create " + temp + ": " + std::strerror(errno);
        return false;
    }
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd.Get(), p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = "cannot write " + temp + ": " + std::strerror(errno);
            ::unlink(temp.c_str());
            return false;
        }
        p += n;
        left -= size_t(n);
    }
    if (::fsync(fd.Get()) != 0 || ::close(fd.Release()) != 0) {
        error = "cannot flush " + temp + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path_.c_str()) != 0) {
        error = "cannot replace " + path_ + ": " + std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace orsan::sim
