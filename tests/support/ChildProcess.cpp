#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace orsan::test {

namespace {

using Clock = std::chrono::steady_clock;

void ClosePipe(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

int RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() < 0 ? 0 : int(left.count());
}

struct Pipe {
    int fd[2] = {-1, -1};
    Pipe() {
        if (::pipe2(fd, O_CLOEXEC) != 0) {
            throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
        }
    }
    ~Pipe() {
        ClosePipe(fd[0]);
        ClosePipe(fd[1]);
    }
    int Take(int end) {
        const int f = fd[end];
        fd[end] = -1;
        return f;
    }
};

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           Options options) {
    // A child that dies while we write to it must not kill the test.
    ::signal(SIGPIPE, SIG_IGN);

    Pipe in, out, err;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.fd[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out.fd[1], STDOUT_FILENO);
    if (options.captureStderr) posix_spawn_file_actions_adddup2(&actions, err.fd[1], STDERR_FILENO);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<std::string> argvStore{program};
    argvStore.insert(argvStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argvStore) argv.push_back(a.data());
    argv.push_back(nullptr);

    const int rc = ::posix_spawn(&pid_, program.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(rc));
    }
    pidFd_ = int(::syscall(SYS_pidfd_open, pid_, 0));
    stdin_ = in.Take(1);
    stdout_ = out.Take(0);
    if (options.captureStderr) stderr_ = err.Take(0);
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !exitCode_) Terminate();
    ClosePipe(stdin_);
    ClosePipe(stdout_);
    ClosePipe(stderr_);
    ClosePipe(pidFd_);
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        if (const size_t nl = buffered_.find('\n'); nl != std::string::npos) {
            std::string line = buffered_.substr(0, nl);
            buffered_.erase(0, nl + 1);
            return line;
        }
        if (stdoutEof_) return std::nullopt;
        pollfd p{stdout_, POLLIN, 0};
        const int ready = ::poll(&p, 1, RemainingMs(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        char buf[4096];
        const ssize_t n = ::read(stdout_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            stdoutEof_ = true;
            continue;
        }
        buffered_.append(buf, size_t(n));
    }
}

bool ChildProcess::Write(const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        if (stdin_ < 0) return false;
        const ssize_t n = ::write(stdin_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

void ChildProcess::CloseStdin() {
    ClosePipe(stdin_);
}

std::string ChildProcess::ReadAllStderr() {
    std::string text;
    if (stderr_ < 0) return text;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(stderr_, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buf, size_t(n));
    }
    return text;
}

void ChildProcess::Signal(int signo) {
    if (pid_ > 0 && !exitCode_) ::kill(pid_, signo);
}

std::optional<int> ChildProcess::WaitExit(std::chrono::milliseconds limit) {
    if (exitCode_) return exitCode_;
    if (pid_ <= 0) return std::nullopt;
    if (pidFd_ >= 0) {
        pollfd p{pidFd_, POLLIN, 0};
        const auto deadline = Clock::now() + limit;
        int ready;
        do {
            ready = ::poll(&p, 1, RemainingMs(deadline));
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0) return std::nullopt;
    }
    int status = 0;
    pid_t r;
    do {
        // Without a pidfd (old kernels) this blocks; the limit is then not kept.
        r = ::waitpid(pid_, &status, 0);
    } while (r < 0 && errno == EINTR);
    if (r != pid_) return std::nullopt;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return exitCode_;
}

int ChildProcess::Terminate(std::chrono::milliseconds grace) {
    if (exitCode_) return *exitCode_;
    Signal(SIGTERM);
    if (auto code = WaitExit(grace)) return *code;
    Signal(SIGKILL);
    return WaitExit(std::chrono::seconds(30)).value_or(-1);
}

std::optional<Unprivileged> AsUnprivileged(const std::string& program,
                                           std::vector<std::string> args) {
    if (::geteuid() != 0) return Unprivileged{program, std::move(args)};
    if (::access("/usr/sbin/runuser", X_OK) != 0) return std::nullopt;
    args.insert(args.begin(), {"-u", "nobody", "--", program});
    return Unprivileged{"/usr/sbin/runuser", std::move(args)};
}

}  // namespace orsan::test
