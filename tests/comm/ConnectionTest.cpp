#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <optional>

#include "FakeModbusPeer.h"
#include "LeakCheckedTest.h"
#include "ModbusTcpConnection.h"

namespace orsan {
namespace {

using test::Bytes;
using test::FakeModbusPeer;
using test::PeerReply;

std::vector<uint16_t> Values(uint16_t count, uint16_t base) {
    std::vector<uint16_t> v(count);
    for (uint16_t i = 0; i < count; ++i) v[i] = uint16_t(base + 3 * i);
    return v;
}

Bytes Slice(const Bytes& b, size_t from, size_t to) {
    return Bytes(b.begin() + long(from), b.begin() + long(std::min(to, b.size())));
}

using ConnectionTest = test::LeakCheckedTest;

struct ReplyCase {
    const char* name;
    std::function<PeerReply(const ModbusRequest&)> reply;
    bool accepted;
    // Whether a good exchange on the same connection works afterwards.
    std::optional<bool> followUp;
};

PeerReply Send(Bytes b) {
    return PeerReply{{std::move(b)}};
}

const std::vector<ReplyCase>& ReadCases() {
    static const std::vector<ReplyCase> cases = {
        {"exception answer (9 bytes)",
         [](const ModbusRequest& r) { return Send(test::ExceptionAnswer(r)); }, false, true},
        {"one byte after the answer in the same segment",
         [](const ModbusRequest& r) {
             Bytes b = test::ReadAnswer(r, Values(72, 100));
             b.push_back(0);
             return Send(b);
         },
         true, true},
        {"one byte too few",
         [](const ModbusRequest& r) {
             Bytes b = test::ReadAnswer(r, Values(72, 100));
             b.pop_back();
             return Send(b);
         },
         false, true},
        {"split in two with a pause",
         [](const ModbusRequest& r) {
             const Bytes b = test::ReadAnswer(r, Values(72, 100));
             return PeerReply{{Slice(b, 0, 100), Slice(b, 100, b.size())}, 0, 60};
         },
         true, true},
        {"split in three, header cut",
         [](const ModbusRequest& r) {
             const Bytes b = test::ReadAnswer(r, Values(72, 100));
             return PeerReply{{Slice(b, 0, 5), Slice(b, 5, 80), Slice(b, 80, b.size())}, 20, 30};
         },
         true, true},
        {"split, extra byte in the second segment",
         [](const ModbusRequest& r) {
             Bytes b = test::ReadAnswer(r, Values(72, 100));
             b.push_back(0);
             return PeerReply{{Slice(b, 0, 100), Slice(b, 100, b.size())}, 0, 60};
         },
         true, true},
        {"split, rest after the receive limit",
         [](const ModbusRequest& r) {
             const Bytes b = test::ReadAnswer(r, Values(72, 100));
             return PeerReply{{Slice(b, 0, 100), Slice(b, 100, b.size())}, 0, 600};
         },
         false, std::nullopt},
        {"silent", [](const ModbusRequest&) { return PeerReply{}; }, false, true},
        // An earlier request's answer, late or twice, never passes for the next.
        {"answer after the limit",
         [](const ModbusRequest& r) {
             return PeerReply{{test::ReadAnswer(r, Values(72, 100))}, 550};
         },
         false, true},
        {"answer twice in one burst",
         [](const ModbusRequest& r) {
             const Bytes b = test::ReadAnswer(r, Values(72, 100));
             return PeerReply{{b, b}};
         },
         true, true},
        {"answer again 60 ms later",
         [](const ModbusRequest& r) {
             const Bytes b = test::ReadAnswer(r, Values(72, 100));
             return PeerReply{{b, b}, 0, 60};
         },
         true, true},
        {"closed after the request",
         [](const ModbusRequest&) {
             return PeerReply{{}, 0, 0, PeerReply::Then::Close};
         },
         false, false},
        {"reset in the middle of the answer",
         [](const ModbusRequest& r) {
             const Bytes b = test::ReadAnswer(r, Values(72, 100));
             return PeerReply{{Slice(b, 0, 50)}, 0, 0, PeerReply::Then::Reset};
         },
         false, false},
    };
    return cases;
}

TEST_F(ConnectionTest, ReadAcceptsOneWholeAnswerAndKeepsTheConnectionUsable) {
    for (const ReplyCase& c : ReadCases()) {
        SCOPED_TRACE(c.name);
        FakeModbusPeer peer([&](const ModbusRequest& r, int, int index) {
            if (index == 0) return c.reply(r);
            return Send(test::ReadAnswer(r, Values(test::RequestCount(r), 7000)));
        });
        ModbusTcpConnection connection;
        ASSERT_TRUE(connection.Open(peer.Endpoint()));

        std::array<uint16_t, 72> out{};
        ASSERT_EQ(connection.ReadHoldingRegisters(1, 41, 0, 72, out.data()), c.accepted);
        if (c.accepted) {
            const auto want = Values(72, 100);
            EXPECT_TRUE(std::equal(out.begin(), out.end(), want.begin()));
        }
        if (c.followUp) {
            // Two more, so a write on a dead socket is attempted at least twice.
            for (int i = 0; i < 2; ++i) {
                uint16_t speed = 0;
                EXPECT_EQ(connection.ReadHoldingRegisters(1, 42, 133, 1, &speed), *c.followUp);
                if (*c.followUp) {
                    EXPECT_EQ(speed, 7000);
                }
            }
        }
        connection.Close();
        EXPECT_FALSE(connection.IsOpen());
    }
}

TEST_F(ConnectionTest, RequestGoesOutAsTwelveBytesWithTheCallersFields) {
    FakeModbusPeer peer([](const ModbusRequest& r, int, int) {
        return Send(test::ReadAnswer(r, Values(test::RequestCount(r), 1)));
    });
    ModbusTcpConnection connection;
    ASSERT_TRUE(connection.Open(peer.Endpoint()));
    std::array<uint16_t, 72> out{};
    ASSERT_TRUE(connection.ReadHoldingRegisters(9, 0xBEEF, 0, 72, out.data()));
    ASSERT_TRUE(connection.ReadHoldingRegisters(9, 0xBEF0, 133, 1, out.data()));
    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].bytes, BuildRequest(0xBEEF, 9, 3, 0, 72));
    EXPECT_EQ(requests[1].bytes, BuildRequest(0xBEF0, 9, 3, 133, 1));
}

// Every field of an answer's header and PDU is compared with the request (a
// read of 72 registers or a write, transaction 41, unit 1); a mismatch, an
// exception or an answer later than the endpoint's limit is refused with its
// reason. The answer is a good one with byte `at` set to `value`.
TEST_F(ConnectionTest, AnswerNotMatchingTheRequestIsRefusedWithItsReason) {
    struct Case {
        const char* name;
        uint8_t function;
        size_t at;  // kNone: unchanged; kException: exception 2, length field `value`
        uint8_t value;
        AnswerFault fault;
        int delayMs = 0;
        int limitMs = kDefaultAnswerLimitMs;
    };
    constexpr size_t kNone = 99, kException = 98;
    const Case cases[] = {
        {"read answered", 3, kNone, 0, AnswerFault::None},
        {"transaction id never sent", 3, 1, 40, AnswerFault::TransactionId},
        {"protocol id 1", 3, 3, 1, AnswerFault::ProtocolId},
        {"unit id 2", 3, 6, 2, AnswerFault::UnitId},
        {"function 4", 3, 7, 4, AnswerFault::FunctionCode},
        {"byte count 142", 3, 8, 142, AnswerFault::ByteCount},
        {"length field 140", 3, 5, 140, AnswerFault::LengthField},
        {"length field 300", 3, 4, 1, AnswerFault::LengthField},
        {"length field 1", 3, 5, 1, AnswerFault::LengthField},
        {"exception 2", 3, kException, 3, AnswerFault::Exception},
        {"exception with length field 4", 3, kException, 4, AnswerFault::LengthField},
        {"450 ms late, limit 400 ms", 3, kNone, 0, AnswerFault::NoAnswer, 450},
        {"450 ms late, limit 1000 ms", 3, kNone, 0, AnswerFault::None, 450, 1000},
        {"write echoed", 6, kNone, 0, AnswerFault::None},
        {"write echo with another value", 6, 11, 12, AnswerFault::NotEcho},
        {"write echo from unit 9", 6, 6, 9, AnswerFault::UnitId},
        {"write exception", 6, kException, 3, AnswerFault::Exception},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeModbusPeer peer([&](const ModbusRequest& r, int, int) {
            Bytes b = c.function == 6 ? test::WriteEcho(r) : test::ReadAnswer(r, Values(72, 100));
            if (c.at == kException) {
                b = test::ExceptionAnswer(r, 2);
                b[5] = c.value;
                b.resize(6 + c.value);
            } else if (c.at != kNone) {
                b[c.at] = c.value;
                if (c.at == 4) b[5] = 44;
            }
            return PeerReply{{b}, c.delayMs};
        });
        SensorEndpoint endpoint = peer.Endpoint();
        endpoint.answerLimitMs = c.limitMs;
        ModbusTcpConnection connection;
        ASSERT_TRUE(connection.Open(endpoint));
        std::array<uint16_t, 72> out{};
        const bool done = c.function == 6
                              ? connection.WriteSingleRegister(1, 41, 76, 11)
                              : connection.ReadHoldingRegisters(1, 41, 0, 72, out.data());
        EXPECT_EQ(done, c.fault == AnswerFault::None);
        EXPECT_STREQ(AnswerFaultName(connection.LastFault()), AnswerFaultName(c.fault));
        if (done && c.function == 3) {
            EXPECT_EQ(out[71], 100 + 3 * 71);
        }
    }
}

TEST_F(ConnectionTest, NothingIsExchangedWithoutAnOpenConnection) {
    ModbusTcpConnection connection;
    ModbusFrame answer;
    EXPECT_EQ(connection.Exchange(BuildRequest(1, 1, 3, 0, 1), answer), AnswerFault::NotOpen);
    uint16_t v = 0;
    EXPECT_FALSE(connection.ReadHoldingRegisters(1, 1, 0, 1, &v));
    connection.Close();  // harmless twice
    connection.Close();
}

TEST_F(ConnectionTest, ReadOfZeroRegistersIsRefusedEvenWhenNineBytesCome) {
    FakeModbusPeer peer(
        [](const ModbusRequest& r, int, int) { return Send(test::ExceptionAnswer(r)); });
    ModbusTcpConnection connection;
    ASSERT_TRUE(connection.Open(peer.Endpoint()));
    uint16_t v = 0;
    EXPECT_FALSE(connection.ReadHoldingRegisters(1, 1, 0, 0, &v));
}

TEST_F(ConnectionTest, AddressZeroNeverConnectsEvenWithALocalListener) {
    // On Linux a connect to 0.0.0.0 reaches the local host; a listener on
    // 127.0.0.1 would take it.
    FakeModbusPeer peer([](const ModbusRequest&, int, int) { return PeerReply{}; });
    ModbusTcpConnection connection;
    EXPECT_FALSE(connection.Open(SensorEndpoint{0, peer.Endpoint().port, 1}));
    EXPECT_FALSE(connection.IsOpen());
    // The same port is reachable on its real address.
    EXPECT_TRUE(connection.Open(peer.Endpoint()));
    connection.Close();
    ASSERT_TRUE(peer.WaitForClosed(1));
    EXPECT_EQ(peer.Accepts(), 1);
}

// A bound socket that does not listen refuses connects at once; a listener
// whose accept queue is full drops new SYNs, so the connect never completes
// and the 400 ms wait must end it.
TEST_F(ConnectionTest, RefusedOrNeverCompletingConnectFails) {
    for (const bool listening : {false, true}) {
        SCOPED_TRACE(listening ? "full accept queue" : "not listening");
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        const int filler = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof sa;
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
        ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len), 0);
        if (listening) {
            ASSERT_EQ(::listen(fd, 0), 0);
            ASSERT_EQ(::connect(filler, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);
        }
        ModbusTcpConnection connection;
        EXPECT_FALSE(
            connection.Open(SensorEndpoint{MakeAddress(127, 0, 0, 1), ntohs(sa.sin_port), 1}));
        EXPECT_FALSE(connection.IsOpen());
        ::close(filler);
        ::close(fd);
    }
}

// A program the station starts must not inherit a sensor connection: the
// descriptor connected to the peer (found by its peer address) has FD_CLOEXEC.
TEST_F(ConnectionTest, TheConnectionsSocketIsClosedOnExec) {
    FakeModbusPeer peer([](const ModbusRequest&, int, int) { return PeerReply{}; });
    ModbusTcpConnection connection;
    ASSERT_TRUE(connection.Open(peer.Endpoint()));
    std::vector<int> flags;  // of every descriptor connected to the peer's port
    for (int fd = 0; fd < 1024; ++fd) {
        sockaddr_in addr{};
        socklen_t length = sizeof addr;
        if (::getpeername(fd, reinterpret_cast<sockaddr*>(&addr), &length) == 0 &&
            addr.sin_family == AF_INET && ntohs(addr.sin_port) == peer.Endpoint().port)
            flags.push_back(::fcntl(fd, F_GETFD));
    }
    EXPECT_EQ(flags, std::vector<int>{FD_CLOEXEC});
}

TEST_F(ConnectionTest, ReopeningReleasesThePreviousSocket) {
    FakeModbusPeer peer([](const ModbusRequest&, int, int) { return PeerReply{}; });
    ModbusTcpConnection connection;
    ASSERT_TRUE(connection.Open(peer.Endpoint()));
    ASSERT_TRUE(connection.Open(peer.Endpoint()));
    // The first connection ended when the second began.
    EXPECT_TRUE(peer.WaitForClosed(1));
}

}  // namespace
}  // namespace orsan
