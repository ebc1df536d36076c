#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace orsan {

namespace {

constexpr size_t kBufferBytes = 64 * 1024;

// The file a rename must replace: a symbolic link is followed, so the
// link stays and its target gets the new content.
std::string ResolvedTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// A fresh file beside target, created with the permissions of the file it
// replaces (or the default under the umask).
int CreateTemporary(const std::string& target, std::string& temp) {
    static std::atomic<unsigned> counter{0};
    struct stat existing {};
    const bool replaces = ::stat(target.c_str(), &existing) == 0;
    const mode_t mode = replaces ? (existing.st_mode & 07777) : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target + ".part" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            if (replaces) ::fchmod(fd, mode);  // the umask must not narrow it
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

}  // namespace

OutputFile::~OutputFile() {
    Cancel();
}

bool OutputFile::Fail(int errnoValue) {
    error_ = std::strerror(errnoValue);
    Cancel();
    return false;
}

void OutputFile::CloseFd() {
    if (fd_ >= 0 && ownsFd_) ::close(fd_);
    fd_ = -1;
    ownsFd_ = false;
}

void OutputFile::Cancel() {
    CloseFd();
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
    buffer_.clear();
}

bool OutputFile::Open(const std::string& path, Dash dash) {
    Cancel();
    error_.clear();
    if (dash == Dash::StandardOutput && path == "-") {
        fd_ = STDOUT_FILENO;
        ownsFd_ = false;
        inPlace_ = true;
        return true;
    }
    target_ = ResolvedTarget(path);
    struct stat info {};
    inPlace_ = ::stat(target_.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
    if (inPlace_) {
        // No O_TRUNC: a device or FIFO has nothing to cut, and a directory
        // must fail here rather than be replaced.
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    } else {
        fd_ = CreateTemporary(target_, temp_);
        if (fd_ < 0) temp_.clear();
    }
    if (fd_ < 0) return Fail(errno);
    ownsFd_ = true;
    buffer_.reserve(kBufferBytes);
    return true;
}

bool OutputFile::WriteAll(std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return Fail(n < 0 ? errno : EIO);
        p += n;
        left -= size_t(n);
    }
    return true;
}

bool OutputFile::Flush() {
    if (!WriteAll(buffer_)) return false;
    buffer_.clear();
    return true;
}

bool OutputFile::Write(std::string_view bytes) {
    if (fd_ < 0) return Fail(EBADF);
    if (buffer_.size() + bytes.size() > kBufferBytes && !Flush()) return false;
    if (bytes.size() >= kBufferBytes) return WriteAll(bytes);
    buffer_.append(bytes);
    return true;
}

bool OutputFile::Commit() {
    if (fd_ < 0) return Fail(EBADF);
    if (!Flush()) return false;
    if (!inPlace_) {
        if (::fsync(fd_) != 0) return Fail(errno);
    }
    if (ownsFd_) {
        const int fd = fd_;
        fd_ = -1;
        ownsFd_ = false;
        if (::close(fd) != 0 && errno != EINTR) return Fail(errno);
    }
    fd_ = -1;
    if (!temp_.empty()) {
        if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail(errno);
        temp_.clear();
    }
    return true;
}

bool WriteOutputFile(const std::string& path, std::string_view bytes, std::string& error,
                     OutputFile::Dash dash) {
    OutputFile file;
    if (file.Open(path, dash) && file.Write(bytes) && file.Commit()) return true;
    error = file.Error();
    return false;
}

}  // namespace orsan
