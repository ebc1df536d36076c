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

}  // namespace
}  // namespace orsan
