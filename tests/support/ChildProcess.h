#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace orsan::test {

// A program started with pipes on its stdin and stdout (stderr is shared with
// the test, so its messages land in the test log, unless captured). Owns the
// process: the destructor sends SIGTERM, waits a few seconds, then SIGKILLs.
class ChildProcess {
public:
    struct Options {
        bool captureStderr = false;
    };

    // Throws std::runtime_error when the program cannot be started.
    ChildProcess(const std::string& program, const std::vector<std::string>& args, Options options);
    ChildProcess(const std::string& program, const std::vector<std::string>& args)
        : ChildProcess(program, args, Options{}) {}
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // One line of stdout without its newline; nullopt at end of output or
    // when `limit` passes first.
    std::optional<std::string> ReadLine(std::chrono::milliseconds limit);
    // Writes text to the program's stdin; false when the pipe is closed.
    bool Write(const std::string& text);
    void CloseStdin();
    // Everything the program wrote to stderr, after it exited (captureStderr).
    std::string ReadAllStderr();

    // Sends a signal (no-op once the process has been reaped).
    void Signal(int signo);
    // Waits for the exit; the exit code (128 + signal for a signal death), or
    // nullopt when `limit` passes first.
    std::optional<int> WaitExit(std::chrono::milliseconds limit);
    // SIGTERM, wait up to `grace`, then SIGKILL; returns the exit code.
    int Terminate(std::chrono::milliseconds grace = std::chrono::seconds(5));

private:
    pid_t pid_ = -1;
    int pidFd_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
    int stderr_ = -1;
    std::string buffered_;
    bool stdoutEof_ = false;
    std::optional<int> exitCode_;
};

// Runs a program where file permissions apply: as user nobody (through
// runuser) when this process is root, as itself otherwise. Empty when root
// has no runuser. The ChildProcess arguments: program, then args.
struct Unprivileged {
    std::string program;
    std::vector<std::string> args;
};
std::optional<Unprivileged> AsUnprivileged(const std::string& program,
                                           std::vector<std::string> args);

}  // namespace orsan::test
