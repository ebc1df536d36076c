#include <gtest/gtest.h>

#include <cmath>

#include "ParamFields.h"
#include "ParamRegisters.h"
#include "SensorEndpoint.h"

namespace orsan {
namespace {

TEST(ParamEncoding, ScaledValuesBecomeRegisterValues) {
    struct Case {
        float value;
        int divisor;
        std::optional<uint16_t> expected;
    };
    const Case cases[] = {
        {12.34f, 100, 1234}, {0.29f, 100, 29},   {1.15f, 100, 115},    {655.35f, 100, 65535},
        {0.0f, 100, 0},      {655.36f, 100, {}}, {-0.01f, 100, {}},    {-5.0f, 1, {}},
        {-0.5f, 1, {}},      {10.7f, 1, 10},     {65535.0f, 1, 65535}, {65536.0f, 1, {}},
        {1e9f, 100, {}},     {0.0f, 1, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToRegisterValue(c.value, c.divisor), c.expected) << c.value << " / " << c.divisor;
    }
}

TEST(ParamEncoding, EveryRegisterValueSurvivesShowingAndWritingBack) {
    // What the dialog reads it must write back unchanged when untouched.
    for (int divisor : {1, 100}) {
        for (int reg = 0; reg <= 65535; ++reg) {
            const float shown = FromRegisterValue(uint16_t(reg), divisor);
            ASSERT_EQ(ToRegisterValue(shown, divisor), std::optional<uint16_t>(uint16_t(reg)))
                << reg << " / " << divisor;
        }
    }
    EXPECT_FLOAT_EQ(FromRegisterValue(1234, 100), 12.34f);
}

TEST(ParamEncoding, AddressPairsCarryTheFirstOctetInTheLowByte) {
    struct Case {
        uint32_t address;
        uint16_t first, second;
    };
    const Case cases[] = {
        {MakeAddress(192, 168, 1, 10), 0xA8C0, 0x0A01},
        {MakeAddress(192, 168, 1, 1), 0xA8C0, 0x0101},
        {MakeAddress(10, 0, 0, 7), 0x000A, 0x0700},
        {MakeAddress(255, 255, 255, 0), 0xFFFF, 0x00FF},
        {MakeAddress(8, 8, 4, 4), 0x0808, 0x0404},
        {0u, 0, 0},
    };
    for (const Case& c : cases) {
        const auto pair = EncodeAddressPair(c.address);
        EXPECT_EQ(pair[0], c.first) << c.address;
        EXPECT_EQ(pair[1], c.second) << c.address;
        EXPECT_EQ(DecodeAddressPair(c.first, c.second), c.address);
    }
}

TEST(ParamEncoding, FieldTextIsANumberOrNothing) {
    struct Case {
        const char* text;
        std::optional<float> expected;
    };
    const Case cases[] = {
        {"12.34", 12.34f}, {" 7 ", 7.0f}, {"+3", 3.0f}, {"-5", -5.0f}, {"1e2", 100.0f},
        {"0", 0.0f},       {".5", 0.5f},  {"", {}},     {"   ", {}},   {"abc", {}},
        {"12a", {}},       {"1,5", {}},   {"nan", {}},  {"inf", {}},   {"1e40", {}},
        {"+-1", {}},       {"+", {}},     {"1 2", {}},  {"0x10", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseFieldNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

ParamFormInput ValidInput() {
    ParamFormInput input;
    for (int i = 0; i < kParamFieldCount; ++i) input.texts[size_t(i)] = std::to_string(i + 1);
    input.addresses = {MakeAddress(192, 168, 1, 1), MakeAddress(255, 255, 255, 0),
                       MakeAddress(8, 8, 8, 8), MakeAddress(192, 168, 1, 10)};
    input.speedSource = 1;
    input.speedMode = 1;
    return input;
}

TEST(ParamForm, TakesEveryFieldWhenAllAreNumbers) {
    SensorParameters values;
    const ParamFormInput input = ValidInput();
    ASSERT_FALSE(TakeFormInput(input, values).has_value());
    for (int i = 0; i < kParamFieldCount; ++i) EXPECT_EQ(values.fields[size_t(i)], float(i + 1));
    EXPECT_EQ(values.addresses, input.addresses);
    EXPECT_EQ(values.speedSource, 1);
    EXPECT_EQ(values.speedMode, 1);
}

TEST(ParamForm, ANonNumberIsNamedAndNothingIsTaken) {
    for (int bad = 0; bad < kParamFieldCount; ++bad) {
        ParamFormInput input = ValidInput();
        input.texts[size_t(bad)] = "12x";
        SensorParameters values;
        values.fields.fill(42.0f);
        const auto error = TakeFormInput(input, values);
        ASSERT_TRUE(error.has_value()) << bad;
        EXPECT_EQ(error->kind, ParamInputError::Kind::NotANumber);
        EXPECT_NE(error->message.find(FieldInfo(ParamField(bad)).name), std::string::npos)
            << error->message;
        for (float v : values.fields) EXPECT_EQ(v, 42.0f);
        EXPECT_EQ(values.speedSource, 0);
        EXPECT_EQ(values.addresses[0], 0u);
    }
}

TEST(ParamRead, RepliesFillTheirGroupOnly) {
    SensorParameters values;
    values.fields.fill(-1.0f);
    values.speedSource = 1;
    values.speedMode = 1;

    const uint16_t filters[6] = {10, 1000, 5, 10000, 2, 200};
    ApplyReadReply(ReadGroup::Filters, filters, values);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(values.fields[size_t(i)], float(filters[i]));
    EXPECT_EQ(values.fields[kFieldInnerRing], -1.0f);

    const uint16_t components[5] = {512, 348, 205, 41, 1234};
    ApplyReadReply(ReadGroup::Components, components, values);
    EXPECT_FLOAT_EQ(values.fields[kFieldInnerRing], 5.12f);
    EXPECT_FLOAT_EQ(values.fields[kFieldBlade], 12.34f);
    EXPECT_EQ(values.fields[kFieldTransmissionRatio], -1.0f);

    const uint16_t network[8] = {0xA8C0, 0x0101, 0xFFFF, 0x00FF, 0x0808, 0x0808, 0xA8C0, 0x0A01};
    ApplyReadReply(ReadGroup::Network, network, values);
    EXPECT_EQ(values.addresses[kAddressGateway], MakeAddress(192, 168, 1, 1));
    EXPECT_EQ(values.addresses[kAddressSubnetMask], MakeAddress(255, 255, 255, 0));
    EXPECT_EQ(values.addresses[kAddressDns], MakeAddress(8, 8, 8, 8));
    EXPECT_EQ(values.addresses[kAddressSensor], MakeAddress(192, 168, 1, 10));

    const uint16_t zero = 0, seven = 7, rated = 5000;
    ApplyReadReply(ReadGroup::SpeedSource, &zero, values);
    EXPECT_EQ(values.speedSource, 0);
    EXPECT_EQ(values.speedMode, 1);
    // Not an item of the drop-down: shown as no selection, never as item 0.
    ApplyReadReply(ReadGroup::SpeedMode, &seven, values);
    EXPECT_EQ(values.speedMode, -1);
    ApplyReadReply(ReadGroup::RatedSpeed, &rated, values);
    EXPECT_FLOAT_EQ(values.fields[kFieldRatedSpeed], 50.0f);
    EXPECT_EQ(values.fields[kFieldManualSpeed], -1.0f);
}

}  // namespace
}  // namespace orsan
