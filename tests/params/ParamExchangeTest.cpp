#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "FakeModbusPeer.h"
#include "ParamExchange.h"
#include "StoredConfiguration.h"

namespace orsan {
namespace {

using test::ExceptionAnswer;
using test::FakeModbusPeer;
using test::RecordedRequest;

SensorEndpoint EndpointOf(const FakeModbusPeer& peer) {
    SensorEndpoint endpoint;
    endpoint.address = peer.Address();
    endpoint.port = peer.Port();
    return endpoint;
}

// A loopback port that refuses connections: bound, never listening.
class RefusingPort {
public:
    RefusingPort() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof sa;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&sa), &len);
        port_ = ntohs(sa.sin_port);
    }
    ~RefusingPort() { ::close(fd_); }
    SensorEndpoint Endpoint() const {
        SensorEndpoint e;
        e.address = MakeAddress(127, 0, 0, 1);
        e.port = port_;
        return e;
    }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

TEST(ParamReadExchange, ReadsTheSevenRequestsOnOneConnectionAndFillsEveryGroup) {
    FakeModbusPeer peer;
    LoadConfiguration(peer);
    SensorParameters values;
    values.fields[kFieldManualSpeed] = 23.5f;

    const ReadOutcome outcome = ReadSensorParameters(EndpointOf(peer), values);
    ASSERT_TRUE(outcome.connected);
    for (bool accepted : outcome.accepted) EXPECT_TRUE(accepted);

    // Transaction id, first register, count; register 67 is never read.
    const int expected[7][3] = {{1, 77, 6},  {2, 103, 5}, {3, 120, 1}, {4, 111, 8},
                                {5, 130, 1}, {5, 131, 1}, {5, 132, 1}};
    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 7u);
    for (size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].connection, 1);
        EXPECT_EQ(requests[i].Function(), 3);
        EXPECT_EQ(requests[i].Unit(), 1);
        EXPECT_EQ(requests[i].TransactionId(), expected[i][0]) << i;
        EXPECT_EQ(requests[i].Register(), expected[i][1]) << i;
        EXPECT_EQ(requests[i].Value(), expected[i][2]) << i;
    }
    EXPECT_EQ(peer.Accepts(), 1);

    EXPECT_EQ(values.fields[kFieldAccelerationBandHigh], 10000.0f);
    EXPECT_FLOAT_EQ(values.fields[kFieldOuterRing], 3.48f);
    EXPECT_FLOAT_EQ(values.fields[kFieldBlade], 12.34f);
    EXPECT_FLOAT_EQ(values.fields[kFieldTransmissionRatio], 1.5f);
    EXPECT_EQ(values.addresses[kAddressGateway], MakeAddress(192, 168, 1, 1));
    EXPECT_EQ(values.addresses[kAddressSensor], MakeAddress(192, 168, 1, 10));
    EXPECT_EQ(values.speedSource, 1);
    EXPECT_EQ(values.speedMode, 1);
    EXPECT_FLOAT_EQ(values.fields[kFieldRatedSpeed], 50.0f);
    // Register 67 is never read: the caller's running speed stays.
    EXPECT_EQ(values.fields[kFieldManualSpeed], 23.5f);
}

TEST(ParamReadExchange, OnlyMatchingAnswersChangeTheirGroup) {
    FakeModbusPeer peer;
    LoadConfiguration(peer);
    // Filters: exception; components: one byte short; ratio: silence;
    // network: fine; speed source: byte count 4; mode and rated: fine.
    peer.SetResponder([](const RecordedRequest& r, FakeModbusPeer& p) -> FakeModbusPeer::Reply {
        auto reply = p.Standard(r);
        switch (r.Register()) {
            case 77:
                return ExceptionAnswer(r.bytes, 2);
            case 103:
                reply->pop_back();
                return reply;
            case 120:
                return std::nullopt;
            case 130:
                (*reply)[8] = 4;
                return reply;
            default:
                return reply;
        }
    });
    SensorParameters values;
    values.fields.fill(-1.0f);
    values.speedSource = 0;

    const ReadOutcome outcome = ReadSensorParameters(EndpointOf(peer), values);
    ASSERT_TRUE(outcome.connected);
    EXPECT_EQ(outcome.accepted,
              (std::array<bool, 7>{false, false, false, true, false, true, true}));
    EXPECT_EQ(peer.Requests().size(), 7u);

    for (int f = kFieldVelocityBandLow; f <= kFieldTransmissionRatio; ++f) {
        EXPECT_EQ(values.fields[size_t(f)], -1.0f) << f;
    }
    EXPECT_EQ(values.addresses[kAddressDns], MakeAddress(8, 8, 4, 4));
    EXPECT_EQ(values.speedSource, 0);
    EXPECT_EQ(values.speedMode, 1);
    EXPECT_FLOAT_EQ(values.fields[kFieldRatedSpeed], 50.0f);
}

TEST(ParamReadExchange, NoConnectionMeansNothingSentNothingChanged) {
    RefusingPort refusing;
    SensorParameters values;
    values.fields.fill(3.0f);
    const ReadOutcome outcome = ReadSensorParameters(refusing.Endpoint(), values);
    EXPECT_FALSE(outcome.connected);
    for (bool accepted : outcome.accepted) EXPECT_FALSE(accepted);
    for (float v : values.fields) EXPECT_EQ(v, 3.0f);
}

TEST(ParamWriteExchange, EveryRequestGoesOutOnOneConnectionAndLands) {
    FakeModbusPeer peer;
    const std::vector<RegisterWrite> writes{
        {1, 111, 0xA8C0}, {2, 112, 0x0101}, {5, 117, 0x1234}, {5, 118, 0xFFFF}};
    const WriteOutcome outcome = ExecuteWritePlan(EndpointOf(peer), writes);
    EXPECT_TRUE(outcome.Succeeded());
    EXPECT_EQ(outcome.confirmed, 4u);

    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), writes.size());
    for (size_t i = 0; i < writes.size(); ++i) {
        const uint8_t expected[12] = {uint8_t(writes[i].transactionId >> 8),
                                      uint8_t(writes[i].transactionId),
                                      0,
                                      0,
                                      0,
                                      6,
                                      1,
                                      6,
                                      uint8_t(writes[i].reg >> 8),
                                      uint8_t(writes[i].reg),
                                      uint8_t(writes[i].value >> 8),
                                      uint8_t(writes[i].value)};
        EXPECT_EQ(std::memcmp(requests[i].bytes.data(), expected, 12), 0) << i;
        EXPECT_EQ(requests[i].connection, 1);
        EXPECT_EQ(peer.Register(writes[i].reg), writes[i].value);
    }
}

FakeModbusPeer::Reply Changed(FakeModbusPeer::Reply reply, size_t byte) {
    (*reply)[byte] ^= 0x40;
    return reply;
}

TEST(ParamWriteExchange, AnyRequestWithoutItsEchoFailsTheActionButTheRestAreStillSent) {
    struct Case {
        const char* what;
        std::function<FakeModbusPeer::Reply(const RecordedRequest&, FakeModbusPeer&)> bad;
    };
    const Case cases[] = {
        {"exception", [](auto& r, auto&) { return ExceptionAnswer(r.bytes, 4); }},
        {"silence", [](auto&, auto&) { return FakeModbusPeer::Reply{}; }},
        {"short",
         [](auto& r, auto& p) {
             auto reply = p.Standard(r);
             reply->pop_back();
             return reply;
         }},
        {"other value",
         [](auto& r, auto& p) {
             auto reply = p.Standard(r);
             (*reply)[11] ^= 1;
             return reply;
         }},
        {"other register",
         [](auto& r, auto& p) {
             auto reply = p.Standard(r);
             (*reply)[9] += 1;
             return reply;
         }},
        {"read answer",
         [](auto& r, auto& p) {
             auto reply = p.Standard(r);
             (*reply)[7] = 3;
             return reply;
         }},
        // Every byte of the echo counts, header included.
        {"other transaction", [](auto& r, auto& p) { return Changed(p.Standard(r), 1); }},
        {"other protocol", [](auto& r, auto& p) { return Changed(p.Standard(r), 3); }},
        {"other length", [](auto& r, auto& p) { return Changed(p.Standard(r), 5); }},
        {"other unit", [](auto& r, auto& p) { return Changed(p.Standard(r), 6); }},
    };
    const std::vector<RegisterWrite> writes{{1, 77, 1}, {2, 78, 2}, {3, 79, 3}, {4, 80, 4}};
    for (const Case& c : cases) {
        for (size_t failing = 0; failing < writes.size(); failing += 3) {
            FakeModbusPeer peer;
            const uint16_t failingRegister = writes[failing].reg;
            peer.SetResponder([&](const RecordedRequest& r, FakeModbusPeer& p) {
                return r.Register() == failingRegister ? c.bad(r, p) : p.Standard(r);
            });
            const WriteOutcome outcome = ExecuteWritePlan(EndpointOf(peer), writes);
            EXPECT_TRUE(outcome.connected) << c.what;
            EXPECT_FALSE(outcome.Succeeded()) << c.what << " at " << failing;
            EXPECT_EQ(outcome.confirmed, writes.size() - 1) << c.what;
            // The group goes out whole, in order, on the one connection.
            const auto requests = peer.Requests();
            ASSERT_EQ(requests.size(), writes.size()) << c.what << " at " << failing;
            for (size_t i = 0; i < writes.size(); ++i) {
                EXPECT_EQ(requests[i].connection, 1) << c.what;
                EXPECT_EQ(requests[i].Register(), writes[i].reg) << c.what;
                EXPECT_EQ(requests[i].Value(), writes[i].value) << c.what;
            }
        }
    }
}

TEST(ParamWriteExchange, NoConnectionIsAFailureWithNothingSent) {
    RefusingPort refusing;
    const WriteOutcome outcome = ExecuteWritePlan(refusing.Endpoint(), {{1, 76, 11}});
    EXPECT_FALSE(outcome.connected);
    EXPECT_FALSE(outcome.Succeeded());
}

}  // namespace
}  // namespace orsan
