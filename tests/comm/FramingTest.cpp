#include <gtest/gtest.h>

#include "ModbusTcpConnection.h"
#include "SensorEndpoint.h"

namespace orsan {
namespace {

TEST(RequestFrame, FieldsAreBigEndianInTheirPlaces) {
    struct Case {
        uint16_t tid;
        uint8_t unit, function;
        uint16_t reg, value;
        ModbusRequest bytes;
    };
    const Case cases[] = {
        {1, 1, kFunctionReadHolding, 0, 72, {0, 1, 0, 0, 0, 6, 1, 3, 0, 0, 0, 0x48}},
        {0x1234, 1, kFunctionReadHolding, 133, 1, {0x12, 0x34, 0, 0, 0, 6, 1, 3, 0, 0x85, 0, 1}},
        {0xFFFF,
         0xF7,
         kFunctionWriteSingle,
         0x0102,
         0xABCD,
         {0xFF, 0xFF, 0, 0, 0, 6, 0xF7, 6, 1, 2, 0xAB, 0xCD}},
        {3, 1, kFunctionWriteSingle, 76, 11, {0, 3, 0, 0, 0, 6, 1, 6, 0, 76, 0, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tid);
        EXPECT_EQ(BuildRequest(c.tid, c.unit, c.function, c.reg, c.value), c.bytes);
    }
    EXPECT_EQ(ReadReplyLength(72), 153u);
    EXPECT_EQ(ReadReplyLength(1), 11u);
}

TEST(TransactionCounterTest, StartsAtZeroIncrementsBeforeUseAndWraps) {
    TransactionCounter counter;
    EXPECT_EQ(counter.Current(), 0);
    EXPECT_EQ(counter.Next(), 1);
    uint16_t last = 1;
    while (last != 65535) last = counter.Next();
    EXPECT_EQ(counter.Current(), 65535);
    EXPECT_EQ(counter.Next(), 0);
    EXPECT_EQ(counter.Next(), 1);
}

TEST(AddressText, ParsesFormatsAndKeepsOctetOneInTheLowByte) {
    struct Case {
        const char* text;
        uint32_t address;
    };
    const Case good[] = {
        {"192.168.1.10", 0x0A01A8C0u},    {"0.0.0.0", 0u},
        {"255.255.255.255", 0xFFFFFFFFu}, {"127.0.0.3", 0x0300007Fu},
        {"10.0.200.1", 0x01C8000Au},
    };
    for (const Case& c : good) {
        SCOPED_TRACE(c.text);
        uint32_t parsed = 12345;
        ASSERT_TRUE(ParseAddress(c.text, parsed));
        EXPECT_EQ(parsed, c.address);
        EXPECT_EQ(FormatAddress(c.address), c.text);
        EXPECT_EQ(AddressOctet(parsed, 1), uint8_t(c.address));
    }
    EXPECT_EQ(MakeAddress(192, 168, 1, 10), 0x0A01A8C0u);
    EXPECT_EQ(AddressOctet(MakeAddress(1, 2, 3, 4), 4), 4);

    const char* bad[] = {"",         "1.2.3",      "1.2.3.4.",  "256.1.1.1", "1.2.3.256",
                         "a.b.c.d",  "1..2.3",     " 1.2.3.4",  "1.2.3.4 ",  "-1.2.3.4",
                         "+1.2.3.4", "0001.2.3.4", "1.2.3.4.5", "1,2,3,4",   "1.2.3.99999999999"};
    for (const char* text : bad) {
        uint32_t parsed = 12345;
        EXPECT_FALSE(ParseAddress(text, parsed)) << '"' << text << '"';
        EXPECT_EQ(parsed, 12345u) << "changed on failure: " << text;
    }
}

}  // namespace
}  // namespace orsan
