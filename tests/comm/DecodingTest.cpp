#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "LiveValues.h"
#include "MeasurementRecord.h"

namespace orsan {
namespace {

using Block = std::array<uint16_t, kMeasurementRegisterCount>;

// The float nearest to raw * scale read as an exact decimal, which is what a
// single rounding of the double product must give.
float NearestFloat(int raw, int decimals) {
    const int unit = decimals == 2 ? 100 : 10;
    char text[32];
    std::snprintf(text, sizeof text, "%s%d.%0*d", raw < 0 ? "-" : "", std::abs(raw) / unit,
                  decimals, std::abs(raw) % unit);
    return std::strtof(text, nullptr);
}

TEST(RegisterDecoding, EveryRawValueRoundsOnceToTheNearestFloat) {
    // A float multiply (raw * 0.01f) misses thousands of these.
    int mismatches = 0;
    for (int raw = 0; raw <= 0xFFFF; ++raw) {
        const auto u = uint16_t(raw);
        if (ScaleRegister(u, 0.01) != NearestFloat(raw, 2)) ++mismatches;
        if (ScaleRegister(u, 0.1) != NearestFloat(raw, 1)) ++mismatches;
        if (ScaleRegister(u, 0.01, true) != NearestFloat(int16_t(u), 2)) ++mismatches;
        if (ScaleRegister(u, 1) != float(raw)) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(RegisterDecoding, SignOnlyInRegisterZeroAndScalesPerRegister) {
    const auto minus200 = uint16_t(int16_t(-200));
    struct Case {
        int reg;
        uint16_t raw;
        float MeasurementRecord::*field;
        float expected;
    };
    const Case cases[] = {
        {0, minus200, &MeasurementRecord::T_Shell, -2.00f},
        {1, minus200, &MeasurementRecord::Vel_X, 653.36f},
        {16, 65535, &MeasurementRecord::Disp_X, 65535.0f},
        {29, 123, &MeasurementRecord::TopOrderEnergy_X, 1.23f},
        {30, 123, &MeasurementRecord::TopOrder_X, 12.3f},
        {0, 0x7FFF, &MeasurementRecord::T_Shell, 327.67f},
        {0, 0x8000, &MeasurementRecord::T_Shell, -327.68f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("register " + std::to_string(c.reg) + " raw " + std::to_string(c.raw));
        Block block{};
        block[c.reg] = c.raw;
        MeasurementRecord rec;
        DecodeMeasurementBlock(block, rec);
        EXPECT_EQ(rec.*c.field, c.expected);
    }
    EXPECT_EQ(DecodeRunningSpeed(2500), 25.0f);
    EXPECT_EQ(DecodeRunningSpeed(65535), 655.35f);
}

// Each register carries its own number + 1000 so a field read from the
// wrong register shows.
TEST(RegisterDecoding, EachRegisterLandsInItsField) {
    Block block{};
    for (int r = 0; r < kMeasurementRegisterCount; ++r) block[r] = uint16_t(1000 + r);
    MeasurementRecord rec;
    rec.RunningSpeed = 7;
    rec.CommOk = true;
    DecodeMeasurementBlock(block, rec);

    auto hundredths = [&](int r) { return NearestFloat(1000 + r, 2); };
    auto tenths = [&](int r) { return NearestFloat(1000 + r, 1); };
    auto whole = [&](int r) { return float(1000 + r); };

    const float vel[] = {rec.Vel_X, rec.Vel_Y, rec.Vel_Z};
    const float acc[] = {rec.Acc_X, rec.Acc_Y, rec.Acc_Z};
    const float dispAux[] = {rec.DispAux_X, rec.DispAux_Y, rec.DispAux_Z};
    const float velAux[] = {rec.VelAux_X, rec.VelAux_Y, rec.VelAux_Z};
    const float accAux[] = {rec.AccAux_X, rec.AccAux_Y, rec.AccAux_Z};
    const float disp[] = {rec.Disp_X, rec.Disp_Y, rec.Disp_Z};
    EXPECT_EQ(rec.T_Shell, hundredths(0));
    for (int a = 0; a < 3; ++a) {
        SCOPED_TRACE("axis " + std::to_string(a));
        EXPECT_EQ(vel[a], hundredths(1 + a));
        EXPECT_EQ(acc[a], hundredths(4 + a));
        EXPECT_EQ(dispAux[a], whole(7 + a));
        EXPECT_EQ(velAux[a], hundredths(10 + a));
        EXPECT_EQ(accAux[a], hundredths(13 + a));
        EXPECT_EQ(disp[a], whole(16 + a));
    }

    struct Axis {
        const std::array<float, 8>& spectrum;
        float auxEnergy, auxOrder, topEnergy, topOrder;
        const std::array<float, 4>& aux;
        int base, auxBase;
    };
    const Axis axes[] = {
        {rec.Spectrum_X, rec.AuxOrderEnergy_X, rec.AuxOrder_X, rec.TopOrderEnergy_X, rec.TopOrder_X,
         rec.AuxValues_X, 19, 55},
        {rec.Spectrum_Y, rec.AuxOrderEnergy_Y, rec.AuxOrder_Y, rec.TopOrderEnergy_Y, rec.TopOrder_Y,
         rec.AuxValues_Y, 31, 59},
        {rec.Spectrum_Z, rec.AuxOrderEnergy_Z, rec.AuxOrder_Z, rec.TopOrderEnergy_Z, rec.TopOrder_Z,
         rec.AuxValues_Z, 43, 63},
    };
    for (const Axis& a : axes) {
        SCOPED_TRACE("block at " + std::to_string(a.base));
        for (int i = 0; i < 8; ++i) EXPECT_EQ(a.spectrum[i], hundredths(a.base + i));
        EXPECT_EQ(a.auxEnergy, hundredths(a.base + 8));
        EXPECT_EQ(a.auxOrder, tenths(a.base + 9));
        EXPECT_EQ(a.topEnergy, hundredths(a.base + 10));
        EXPECT_EQ(a.topOrder, tenths(a.base + 11));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(a.aux[i], hundredths(a.auxBase + i));
    }
    // The block does not own these two.
    EXPECT_EQ(rec.RunningSpeed, 7.0f);
    EXPECT_TRUE(rec.CommOk);
}

// Distinct values in every field the table reads.
MeasurementRecord NumberedRecord() {
    MeasurementRecord r;
    r.Acc_X = 1.5f;
    r.Vel_X = 2.5f;
    r.Disp_X = 3.5f;
    r.Acc_Y = 4.5f;
    r.Vel_Y = 5.5f;
    r.Disp_Y = 6.5f;
    r.Acc_Z = 7.5f;
    r.Vel_Z = 8.5f;
    r.Disp_Z = 9.5f;
    r.T_Shell = -10.5f;
    for (int i = 0; i < 8; ++i) {
        r.Spectrum_Z[i] = 11.5f + float(i);
        r.Spectrum_X[i] = 900.0f;  // X and Y stay out of the table
        r.Spectrum_Y[i] = 901.0f;
    }
    r.TopOrder_Z = 19.5f;
    r.TopOrderEnergy_Z = 20.5f;
    r.TopOrder_X = r.TopOrder_Y = 902.0f;
    r.RunningSpeed = 21.5f;
    return r;
}

TEST(LiveValuesTable, FillsEverySlotFromItsFieldAndLeavesSlot21Alone) {
    const MeasurementRecord r = NumberedRecord();
    LiveValues table{};
    FillLiveValues(table, 3, r);
    const LiveRow& row = table[2];
    const float expected[kLiveSlots] = {1.5f,  2.5f,   3.5f,  4.5f,  5.5f,  6.5f,  7.5f,  8.5f,
                                        9.5f,  -10.5f, 11.5f, 12.5f, 13.5f, 14.5f, 15.5f, 16.5f,
                                        17.5f, 18.5f,  19.5f, 20.5f, 21.5f, 0.0f};
    for (int s = 0; s < kLiveSlots; ++s) {
        EXPECT_EQ(row[s], expected[s]) << "slot " << s;
    }
    for (int other : {0, 1, 3, 4, 5}) {
        for (float v : table[other]) EXPECT_EQ(v, 0.0f) << "row " << other;
    }
}

TEST(LiveValuesTable, WritesRegardlessOfCommOkAndIgnoresUnknownSensors) {
    MeasurementRecord r = NumberedRecord();
    r.CommOk = false;
    LiveValues table{};
    FillLiveValues(table, 1, r);
    EXPECT_EQ(table[0][kSlotVelX], 2.5f);

    LiveValues untouched{};
    FillLiveValues(untouched, 0, r);
    FillLiveValues(untouched, 7, r);
    for (const LiveRow& row : untouched) {
        for (float v : row) EXPECT_EQ(v, 0.0f);
    }
}

TEST(LiveValuesTable, SampleTakesTheTenValuesInCurveOrder) {
    LiveRow row{};
    for (int s = 0; s < kLiveSlots; ++s) row[s] = float(s) + 0.25f;
    const SensorSample sample = SampleFromLiveRow(row, 1700000000, 999);
    EXPECT_EQ(sample.time, 1700000000);
    EXPECT_EQ(sample.milliseconds, 999);
    const int slotOfCurve[SensorSample::kValueCount] = {9, 0, 3, 6, 1, 4, 7, 2, 5, 8};
    for (int i = 0; i < SensorSample::kValueCount; ++i) {
        EXPECT_EQ(sample.Value(i), row[slotOfCurve[i]]) << "curve " << i;
    }
}

}  // namespace
}  // namespace orsan
