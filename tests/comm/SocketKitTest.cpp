#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <sys/time.h>

#include <cerrno>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "FakeModbusPeer.h"
#include "SocketKit.h"

namespace orsan {
namespace {

// Socket calls answered from a script of poll outcomes; everything else
// succeeds unless told otherwise.
class ScriptedCalls final : public SocketCalls {
public:
    // One poll outcome: fills revents of fds[0] and fds[1], returns rc/errno.
    struct PollStep {
        int rc;
        int error;
        short socketEvents;
        short wakeEvents;
    };
    std::deque<PollStep> polls;
    int connectError = 0;  // errno of a failing connect; 0 = immediate success
    int pendingError = 0;  // SO_ERROR after the wait
    int sockets = 0;
    int flags = 0;

    int Socket(int, int type, int) override {
        ++sockets;
        flags = (type & SOCK_NONBLOCK) ? O_NONBLOCK : 0;
        return ::eventfd(0, EFD_CLOEXEC);
    }
    int Connect(int, const sockaddr*, socklen_t) override {
        errno = connectError;
        return connectError == 0 ? 0 : -1;
    }
    int Poll(pollfd* fds, nfds_t count, int) override {
        if (polls.empty()) {
            ADD_FAILURE() << "a poll beyond the script";
            errno = EBADF;
            return -1;
        }
        const PollStep step = polls.front();
        polls.pop_front();
        fds[0].revents = step.socketEvents;
        if (count > 1) fds[1].revents = step.wakeEvents;
        errno = step.error;
        return step.rc;
    }
    int GetSockOpt(int, int, int, void* value, socklen_t*) override {
        *static_cast<int*>(value) = pendingError;
        return 0;
    }
    std::vector<std::pair<int, long>> timeouts;  // option and microseconds, in order set
    int SetSockOpt(int, int level, int name, const void* value, socklen_t) override {
        const auto* tv = static_cast<const timeval*>(value);
        if (level == SOL_SOCKET && (name == SO_SNDTIMEO || name == SO_RCVTIMEO))
            timeouts.emplace_back(name, tv->tv_sec * 1000000 + tv->tv_usec);
        return 0;
    }
    int GetFlags(int) override { return flags; }
    int SetFlags(int, int f) override {
        flags = f;
        return 0;
    }
    ssize_t Send(int, const void*, size_t length, int) override { return ssize_t(length); }
    ssize_t Receive(int, void*, size_t, int) override { return 0; }
};

struct WaitCase {
    const char* name;
    std::deque<ScriptedCalls::PollStep> polls;
    WaitResult expected;
};

class WaitUntilTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(WaitUntilTest, EndsAsThePollSays) {
    ScriptedCalls calls;
    calls.polls = GetParam().polls;
    EXPECT_EQ(WaitUntil(calls, 5, POLLIN, 6, DeadlineAfter(400)), GetParam().expected);
    EXPECT_TRUE(calls.polls.empty()) << "every scripted poll is used, no more";
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, WaitUntilTest,
    ::testing::Values(
        WaitCase{"data", {{1, 0, POLLIN, 0}}, WaitResult::Ready},
        WaitCase{"hang_up_counts_as_ready", {{1, 0, POLLHUP, 0}}, WaitResult::Ready},
        WaitCase{"time_out", {{0, 0, 0, 0}}, WaitResult::TimedOut},
        WaitCase{"wake_wins_over_data", {{2, 0, POLLIN, POLLIN}}, WaitResult::Woken},
        WaitCase{"wake_end_closed_does_not_spin", {{1, 0, 0, POLLHUP}}, WaitResult::Woken},
        WaitCase{"signal_then_data", {{-1, EINTR, 0, 0}, {1, 0, POLLIN, 0}}, WaitResult::Ready},
        WaitCase{"poll_error", {{-1, EBADF, 0, 0}}, WaitResult::Failed}),
    [](const auto& info) { return std::string(info.param.name); });

struct ConnectCase {
    const char* name;
    uint32_t address;
    int connectError;
    int pendingError;
    std::deque<ScriptedCalls::PollStep> polls;
    WaitResult expected;
};

class ConnectWithinTest : public ::testing::TestWithParam<ConnectCase> {};

TEST_P(ConnectWithinTest, GivesABlockingSocketOrNone) {
    const ConnectCase& c = GetParam();
    const int fdsBefore = test::OpenDescriptorCount();
    ScriptedCalls calls;
    calls.connectError = c.connectError;
    calls.pendingError = c.pendingError;
    calls.polls = c.polls;
    UniqueFd out(::eventfd(0, EFD_CLOEXEC));  // a previous socket is dropped
    EXPECT_EQ(ConnectWithin(calls, c.address, 502, 400, -1, out), c.expected);
    EXPECT_EQ(out.Valid(), c.expected == WaitResult::Ready);
    if (out.Valid()) {
        EXPECT_EQ(calls.flags & O_NONBLOCK, 0);
    }
    if (c.address == 0) {
        EXPECT_EQ(calls.sockets, 0) << "0.0.0.0 must not make a socket";
    }
    out.Reset();
    EXPECT_EQ(test::OpenDescriptorCount(), fdsBefore) << "a descriptor leaked";
}

TEST_P(ConnectWithinTest, BlockingConnectIsBoundedByTheSocketsTimeOuts) {
    const ConnectCase& c = GetParam();
    const int fdsBefore = test::OpenDescriptorCount();
    ScriptedCalls calls;
    calls.connectError = c.connectError == EINPROGRESS ? EINTR : c.connectError;
    calls.pendingError = c.pendingError;
    calls.polls = c.polls;
    UniqueFd out;
    EXPECT_EQ(ConnectBlocking(calls, c.address, 502, 400, 300, out), c.expected);
    EXPECT_EQ(out.Valid(), c.expected == WaitResult::Ready);
    if (out.Valid()) {
        EXPECT_EQ(calls.flags & O_NONBLOCK, 0);
        // The connect bounded by 400 ms, then every send and receive by 300 ms.
        EXPECT_EQ(calls.timeouts, (std::vector<std::pair<int, long>>{
                                      {SO_SNDTIMEO, 400000}, {SO_RCVTIMEO, 300000},
                                      {SO_SNDTIMEO, 300000}}));
    }
    out.Reset();
    EXPECT_EQ(test::OpenDescriptorCount(), fdsBefore) << "a descriptor leaked";

    // A blocking connect that reports EINPROGRESS has used up its time.
    if (c.connectError == EINPROGRESS) {
        ScriptedCalls timedOut;
        timedOut.connectError = EINPROGRESS;
        EXPECT_EQ(ConnectBlocking(timedOut, c.address, 502, 400, 400, out), WaitResult::TimedOut);
    }
}

constexpr uint32_t kLoopback = 0x0100007F;

INSTANTIATE_TEST_SUITE_P(
    Outcomes, ConnectWithinTest,
    ::testing::Values(
        ConnectCase{"no_sensor_address", 0, 0, 0, {}, WaitResult::Failed},
        ConnectCase{"immediate", kLoopback, 0, 0, {}, WaitResult::Ready},
        ConnectCase{"in_progress_then_up",
                    kLoopback,
                    EINPROGRESS,
                    0,
                    {{1, 0, POLLOUT, 0}},
                    WaitResult::Ready},
        ConnectCase{
            "interrupted_then_up", kLoopback, EINTR, 0, {{1, 0, POLLOUT, 0}}, WaitResult::Ready},
        ConnectCase{"refused_after_wait",
                    kLoopback,
                    EINPROGRESS,
                    ECONNREFUSED,
                    {{1, 0, POLLOUT | POLLERR, 0}},
                    WaitResult::Failed},
        ConnectCase{"refused_at_once", kLoopback, ECONNREFUSED, 0, {}, WaitResult::Failed},
        ConnectCase{"no_answer", kLoopback, EINPROGRESS, 0, {{0, 0, 0, 0}}, WaitResult::TimedOut}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orsan
