#include <gtest/gtest.h>

#include "ParamActions.h"
#include "ParamRegisters.h"
#include "SensorEndpoint.h"

namespace orsan {
namespace {

SensorParameters SampleValues() {
    SensorParameters v;
    v.fields[kFieldVelocityBandLow] = 10;
    v.fields[kFieldVelocityBandHigh] = 1000;
    v.fields[kFieldAccelerationBandLow] = 5.9f;  // truncated: 5
    v.fields[kFieldAccelerationBandHigh] = 10000;
    v.fields[kFieldDisplacementBandLow] = 2;
    v.fields[kFieldDisplacementBandHigh] = 200;
    v.fields[kFieldInnerRing] = 5.12f;
    v.fields[kFieldOuterRing] = 3.48f;
    v.fields[kFieldRollingElement] = 0.29f;  // rounded: 29
    v.fields[kFieldCage] = 0.41f;
    v.fields[kFieldBlade] = 12.0f;
    v.fields[kFieldTransmissionRatio] = 1.5f;
    v.fields[kFieldManualSpeed] = 12.34f;
    v.fields[kFieldRatedSpeed] = 49.99f;
    v.addresses = {MakeAddress(192, 168, 1, 1), MakeAddress(255, 255, 255, 0),
                   MakeAddress(8, 8, 4, 4), MakeAddress(192, 168, 1, 10)};
    v.speedSource = 1;
    v.speedMode = 0;
    return v;
}

TEST(ParamWritePlan, EachActionSendsItsRegistersInOrderWithItsTransactionIds) {
    struct Case {
        ParamAction action;
        std::vector<RegisterWrite> expected;
    };
    const std::vector<Case> cases{
        {ParamAction::Filters,
         {{1, 77, 10}, {2, 78, 1000}, {3, 79, 5}, {4, 80, 10000}, {5, 81, 2}, {6, 82, 200}}},
        {ParamAction::Components,
         {{1, 103, 512}, {2, 104, 348}, {3, 105, 29}, {4, 106, 41}, {5, 107, 1200}}},
        {ParamAction::Network,
         {{1, 111, 0xA8C0},
          {2, 112, 0x0101},
          {3, 113, 0xFFFF},
          {4, 114, 0x00FF},
          {5, 115, 0x0808},
          {5, 116, 0x0404},
          {5, 117, 0xA8C0},
          {5, 118, 0x0A01}}},
        {ParamAction::Ratio, {{1, 120, 150}}},
        {ParamAction::SpeedSource, {{1, 130, 1}}},
        {ParamAction::ManualSpeed, {{1, 67, 1234}}},
        {ParamAction::SpeedMode, {{1, 131, 0}, {1, 132, 4999}}},
        {ParamAction::Save, {{1, 76, 11}}},
    };
    for (const Case& c : cases) {
        const WritePlan plan = BuildWritePlan(c.action, SampleValues());
        EXPECT_FALSE(plan.error.has_value()) << int(c.action);
        EXPECT_EQ(plan.writes, c.expected) << int(c.action);
    }
}

TEST(ParamWritePlan, EmptyAddressesSendZeros) {
    SensorParameters v = SampleValues();
    v.addresses = {0, MakeAddress(255, 255, 0, 0), 0, MakeAddress(10, 0, 0, 0)};
    const WritePlan plan = BuildWritePlan(ParamAction::Network, v);
    ASSERT_EQ(plan.writes.size(), 8u);
    const uint16_t expected[8] = {0, 0, 0xFFFF, 0, 0, 0, 0x000A, 0};
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(plan.writes[i].value, expected[i]) << i;
}

TEST(ParamWritePlan, AValueThatDoesNotFitItsRegisterRefusesTheWholeAction) {
    struct Case {
        ParamAction action;
        ParamField field;
        float value;
        const char* range;
    };
    const Case cases[] = {
        {ParamAction::Filters, kFieldDisplacementBandHigh, -5.0f, "0 到 65535"},
        {ParamAction::Filters, kFieldVelocityBandLow, 70000.0f, "0 到 65535"},
        {ParamAction::Components, kFieldBlade, 655.36f, "0 到 655.35"},
        {ParamAction::Components, kFieldInnerRing, -0.01f, "0 到 655.35"},
        {ParamAction::Ratio, kFieldTransmissionRatio, 1000.0f, "0 到 655.35"},
        {ParamAction::ManualSpeed, kFieldManualSpeed, -12.34f, "0 到 655.35"},
        {ParamAction::SpeedMode, kFieldRatedSpeed, 700.0f, "0 到 655.35"},
    };
    for (const Case& c : cases) {
        SensorParameters v = SampleValues();
        v.fields[size_t(c.field)] = c.value;
        const WritePlan plan = BuildWritePlan(c.action, v);
        EXPECT_TRUE(plan.writes.empty()) << FieldInfo(c.field).name;
        ASSERT_TRUE(plan.error.has_value()) << FieldInfo(c.field).name;
        EXPECT_EQ(plan.error->kind, ParamInputError::Kind::OutOfRange);
        EXPECT_NE(plan.error->message.find(FieldInfo(c.field).name), std::string::npos)
            << plan.error->message;
        EXPECT_NE(plan.error->message.find(c.range), std::string::npos) << plan.error->message;
    }
}

TEST(ParamWritePlan, OnlyTheActionsOwnFieldsAreRangeChecked) {
    SensorParameters v = SampleValues();
    v.fields[kFieldBlade] = -1.0f;
    EXPECT_FALSE(BuildWritePlan(ParamAction::ManualSpeed, v).error.has_value());
    EXPECT_FALSE(BuildWritePlan(ParamAction::Save, v).error.has_value());
    EXPECT_TRUE(BuildWritePlan(ParamAction::Components, v).error.has_value());
}

TEST(ParamWritePlan, ADropDownWithoutSelectionIsRefused) {
    SensorParameters v = SampleValues();
    v.speedSource = -1;
    v.speedMode = -1;
    for (ParamAction action : {ParamAction::SpeedSource, ParamAction::SpeedMode}) {
        const WritePlan plan = BuildWritePlan(action, v);
        EXPECT_TRUE(plan.writes.empty());
        ASSERT_TRUE(plan.error.has_value());
        EXPECT_EQ(plan.error->kind, ParamInputError::Kind::NoSelection);
        const char* name = action == ParamAction::SpeedSource ? kSpeedSourceName : kSpeedModeName;
        EXPECT_NE(plan.error->message.find(name), std::string::npos);
    }
}

TEST(ParamWritePlan, MessagesFollowTheAction) {
    for (ParamAction action : kWriteActions) {
        EXPECT_STREQ(ActionMessage(action, true), "写入成功^_^");
        EXPECT_STREQ(ActionMessage(action, false), "写入失败!_^");
    }
    EXPECT_STREQ(ActionMessage(ParamAction::Save, true),
                 "保存成功，断电重启后新的参数和IP将生效^_^");
    EXPECT_STREQ(ActionMessage(ParamAction::Save, false), "保存失败!_^");
}

TEST(ParamReadPlan, SevenRequestsInOrderWithoutRegister67) {
    const std::array<std::array<int, 3>, 7> expected{{
        {1, 77, 6},
        {2, 103, 5},
        {3, 120, 1},
        {4, 111, 8},
        {5, 130, 1},
        {5, 131, 1},
        {5, 132, 1},
    }};
    ASSERT_EQ(ReadRequests().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const ReadRequest& r = ReadRequests()[i];
        EXPECT_EQ(r.transactionId, expected[i][0]) << i;
        EXPECT_EQ(r.firstRegister, expected[i][1]) << i;
        EXPECT_EQ(r.count, expected[i][2]) << i;
        EXPECT_FALSE(r.firstRegister <= 67 && 67 < r.firstRegister + r.count);
    }
}

}  // namespace
}  // namespace orsan
