// The parameter dialog against the real sensor simulator on loopback.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "Ipv4AddressEdit.h"
#include "MessageHook.h"
#include "QtPrinters.h"
#include "SensorEndpoint.h"
#include "SettingParsDlg.h"
#include "SimProcess.h"
#include "TempDir.h"

namespace orsan {
namespace {

using test::SimProcess;

std::vector<std::string> Args(int sensors, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--sensors", std::to_string(sensors), "--port",
                                     "0",         "--wave-port",           "0"};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

SensorEndpoint EndpointOf(const SimProcess& sim, int k) {
    SensorEndpoint e;
    EXPECT_TRUE(ParseAddress(sim.Sensor(k).address, e.address));
    e.port = sim.Sensor(k).modbusPort;
    return e;
}

void AimAt(SettingParsDlg& d, const SimProcess& sim, int k) {
    const SensorEndpoint e = EndpointOf(sim, k);
    d.SetSensorAddress(e.address);
    d.SetSensorPort(e.port);
}

QLineEdit* Edit(const QWidget& d, ParamField f) {
    return d.findChild<QLineEdit*>(QStringLiteral("id%1").arg(FieldInfo(f).controlId));
}
Ipv4AddressEdit* Address(const QWidget& d, ParamAddress a) {
    return d.findChild<Ipv4AddressEdit*>(QStringLiteral("id%1").arg(AddressInfo(a).controlId));
}
QComboBox* Combo(const QWidget& d, int id) {
    return d.findChild<QComboBox*>(QStringLiteral("id%1").arg(id));
}
void Click(const QWidget& d, ParamAction a) {
    d.findChild<QPushButton*>(QStringLiteral("id%1").arg(int(a)))->click();
}

// Register values a sensor could hold, every configuration group covered.
const std::vector<std::pair<int, uint16_t>> kStored = {
    {77, 10},      {78, 1000},    {79, 5},       {80, 10000},   {81, 2},       {82, 200},
    {103, 512},    {104, 348},    {105, 205},    {106, 41},     {107, 1234},   {111, 0x0A0A},
    {112, 0xFE00}, {113, 0xFFFF}, {114, 0x00FF}, {115, 0x0808}, {116, 0x0404}, {117, 0x000A},
    {118, 0x0900}, {120, 150},    {130, 1},      {131, 1},      {132, 5000},
};

TEST(ParamsSimulator, TheReadAtOpeningFillsEveryGroup) {
    SimProcess sim(Args(1));
    for (const auto& [reg, value] : kStored) sim.SetRegister(1, reg, value);
    sim.SetRegister(1, 67, 4321);
    ScopedMessageHook notices;
    SettingParsDlg d;
    AimAt(d, sim, 1);
    d.SetManualSpeed(24.5f);
    d.show();

    EXPECT_EQ(Edit(d, kFieldVelocityBandHigh)->text(), QStringLiteral("1000"));
    EXPECT_EQ(Edit(d, kFieldAccelerationBandHigh)->text(), QStringLiteral("10000"));
    EXPECT_EQ(Edit(d, kFieldDisplacementBandLow)->text(), QStringLiteral("2"));
    EXPECT_EQ(Edit(d, kFieldRollingElement)->text(), QStringLiteral("2.05"));
    EXPECT_EQ(Edit(d, kFieldBlade)->text(), QStringLiteral("12.34"));
    EXPECT_EQ(Edit(d, kFieldTransmissionRatio)->text(), QStringLiteral("1.5"));
    EXPECT_EQ(Edit(d, kFieldRatedSpeed)->text(), QStringLiteral("50"));
    EXPECT_EQ(Edit(d, kFieldManualSpeed)->text(), QStringLiteral("24.5"));  // 67 is not read
    EXPECT_EQ(Address(d, kAddressGateway)->Address(), MakeAddress(10, 10, 0, 254));
    EXPECT_EQ(Address(d, kAddressSubnetMask)->Address(), MakeAddress(255, 255, 255, 0));
    EXPECT_EQ(Address(d, kAddressDns)->Address(), MakeAddress(8, 8, 4, 4));
    EXPECT_EQ(Address(d, kAddressSensor)->Address(), MakeAddress(10, 0, 0, 9));
    EXPECT_EQ(Combo(d, 1124)->currentIndex(), 1);
    EXPECT_EQ(Combo(d, 1125)->currentIndex(), 1);
    EXPECT_TRUE(notices.Notices().empty());
}

TEST(ParamsSimulator, AMisbehavingSensorChangesNoGroupAndSaysNothing) {
    // A reply split over two segments is gathered by the connection, and a
    // stray byte after a whole reply is dropped, so neither is among the
    // faults here.
    for (const char* fault : {"exception", "short", "silent"}) {
        SimProcess sim(Args(1));
        for (const auto& [reg, value] : kStored) sim.SetRegister(1, reg, value);
        sim.SetFault(1, fault);
        ScopedMessageHook notices;
        SettingParsDlg d;
        AimAt(d, sim, 1);
        d.show();
        for (int f = 0; f < kParamFieldCount; ++f) {
            EXPECT_EQ(Edit(d, ParamField(f))->text(), QStringLiteral("0")) << fault;
        }
        EXPECT_TRUE(Address(d, kAddressGateway)->IsBlank()) << fault;
        EXPECT_EQ(Combo(d, 1124)->currentIndex(), 0) << fault;
        EXPECT_TRUE(notices.Notices().empty()) << fault;
    }
}

TEST(ParamsSimulator, EveryWriteGroupLandsInTheSensorsRegisters) {
    SimProcess sim(Args(1));
    ScopedMessageHook notices;
    SettingParsDlg d;
    AimAt(d, sim, 1);
    d.show();

    const std::pair<ParamField, const char*> typed[] = {
        {kFieldVelocityBandLow, "12"},
        {kFieldVelocityBandHigh, "2000"},
        {kFieldAccelerationBandLow, "3.7"},
        {kFieldAccelerationBandHigh, "65535"},
        {kFieldDisplacementBandLow, "0"},
        {kFieldDisplacementBandHigh, "150"},
        {kFieldInnerRing, "4.96"},
        {kFieldOuterRing, "3.04"},
        {kFieldRollingElement, "0.29"},
        {kFieldCage, "0.4"},
        {kFieldBlade, "655.35"},
        {kFieldTransmissionRatio, "2.25"},
        {kFieldManualSpeed, "12.34"},
        {kFieldRatedSpeed, "49.5"},
    };
    for (const auto& [f, text] : typed) Edit(d, f)->setText(QString::fromUtf8(text));
    Address(d, kAddressGateway)->SetOctets(192, 168, 1, 1);
    Address(d, kAddressSubnetMask)->SetOctets(255, 255, 255, 0);
    Address(d, kAddressDns)->Clear();  // empty: all four octets 0
    Address(d, kAddressSensor)->SetOctets(192, 168, 1, 10);
    Address(d, kAddressSensor)->Field(4)->clear();  // empty octet 4 is 0
    Combo(d, 1124)->setCurrentIndex(1);
    Combo(d, 1125)->setCurrentIndex(0);

    const std::pair<int, uint16_t> expected[] = {
        {77, 12},      {78, 2000},    {79, 3},       {80, 65535}, {81, 0},      {82, 150},
        {103, 496},    {104, 304},    {105, 29},     {106, 40},   {107, 65535}, {111, 0xA8C0},
        {112, 0x0101}, {113, 0xFFFF}, {114, 0x00FF}, {115, 0},    {116, 0},     {117, 0xA8C0},
        {118, 0x0001}, {120, 225},    {130, 1},      {67, 1234},  {131, 0},     {132, 4950},
    };
    // Something else in every register first, so each write must land.
    for (const auto& [reg, value] : expected) sim.SetRegister(1, reg, uint16_t(value ^ 0x5A5A));
    for (ParamAction action : kWriteActions) {
        notices.Clear();
        Click(d, action);
        ASSERT_EQ(notices.Notices().size(), 1u);
        EXPECT_EQ(notices.LastNoticeText(), QStringLiteral("写入成功^_^")) << int(action);
    }
    for (const auto& [reg, value] : expected) {
        EXPECT_EQ(sim.GetRegister(1, reg), value) << "register " << reg;
    }
}

TEST(ParamsSimulator, SavingKeepsTheParametersOverARestart) {
    test::TempDir dir("orsan-params");
    const std::string state = dir.File("sensor-state");
    {
        SimProcess sim(Args(1, {"--state-file", state}));
        ScopedMessageHook notices;
        SettingParsDlg d;
        AimAt(d, sim, 1);
        d.show();
        Edit(d, kFieldManualSpeed)->setText(QStringLiteral("12.34"));
        Edit(d, kFieldTransmissionRatio)->setText(QStringLiteral("3.21"));
        Click(d, ParamAction::ManualSpeed);
        Click(d, ParamAction::Ratio);
        Click(d, ParamAction::Save);
        ASSERT_EQ(notices.Notices().size(), 3u);
        EXPECT_EQ(notices.LastNoticeText(),
                  QStringLiteral("保存成功，断电重启后新的参数和IP将生效^_^"));
        EXPECT_EQ(sim.Stop(), 0);
    }
    SimProcess restarted(Args(1, {"--state-file", state}));
    EXPECT_EQ(restarted.GetRegister(1, 67), 1234);
    EXPECT_EQ(restarted.GetRegister(1, 120), 321);

    // A read of the restarted sensor shows the saved ratio.
    ScopedMessageHook notices;
    SettingParsDlg d;
    AimAt(d, restarted, 1);
    d.show();
    EXPECT_EQ(Edit(d, kFieldTransmissionRatio)->text(), QStringLiteral("3.21"));
}

TEST(ParamsSimulator, ExceptionsAndSilenceGiveTheFailureMessages) {
    for (const char* fault : {"exception", "silent", "close"}) {
        SimProcess sim(Args(1));
        sim.SetRegister(1, 67, 777);
        ScopedMessageHook notices;
        SettingParsDlg d;
        AimAt(d, sim, 1);
        d.show();
        sim.SetFault(1, fault);
        Edit(d, kFieldManualSpeed)->setText(QStringLiteral("12.34"));
        Click(d, ParamAction::ManualSpeed);
        EXPECT_EQ(notices.LastNoticeText(), QStringLiteral("写入失败!_^")) << fault;
        Click(d, ParamAction::Save);
        EXPECT_EQ(notices.LastNoticeText(), QStringLiteral("保存失败!_^")) << fault;
        EXPECT_EQ(notices.Notices().size(), 2u) << fault;
        sim.SetFault(1, "none");
        EXPECT_NE(sim.GetRegister(1, 67), 0) << fault;
    }
}

TEST(ParamsSimulator, RefusedFieldsSendNothing) {
    SimProcess sim(Args(1));
    for (const auto& [reg, value] : kStored) sim.SetRegister(1, reg, value);
    ScopedMessageHook notices;
    SettingParsDlg d;
    AimAt(d, sim, 1);
    d.show();

    // New values everywhere, then one bad field: had anything gone out, the
    // registers before it would have changed.
    struct Case {
        ParamAction action;
        ParamField bad;
        const char* text;
        std::vector<int> registers;
    };
    const Case cases[] = {
        {ParamAction::Filters, kFieldDisplacementBandHigh, "-5", {77, 78, 79, 80, 81, 82}},
        {ParamAction::Components, kFieldBlade, "700", {103, 104, 105, 106, 107}},
        {ParamAction::SpeedMode, kFieldRatedSpeed, "655.36", {131, 132}},
        // A bad field counts only in its own group.
        {ParamAction::Filters, kFieldAccelerationBandLow, "12,5", {77, 78, 79, 80, 81, 82}},
        {ParamAction::Ratio, kFieldTransmissionRatio, "abc", {120}},
        // A lower band edge above the upper one (1.25).
        {ParamAction::Filters, kFieldVelocityBandLow, "2", {77, 78, 79, 80, 81, 82}},
    };
    for (const Case& c : cases) {
        for (int f = 0; f < kParamFieldCount; ++f) Edit(d, ParamField(f))->setText("1.25");
        Combo(d, 1125)->setCurrentIndex(0);
        Edit(d, c.bad)->setText(QString::fromUtf8(c.text));
        notices.Clear();
        Click(d, c.action);
        ASSERT_EQ(notices.Notices().size(), 1u) << c.text;
        EXPECT_TRUE(notices.LastNoticeText().contains(QString::fromUtf8(FieldInfo(c.bad).name)))
            << notices.LastNoticeText().toStdString();
        for (int reg : c.registers) {
            uint16_t stored = 0;
            for (const auto& [r, v] : kStored) {
                if (r == reg) stored = v;
            }
            EXPECT_EQ(sim.GetRegister(1, reg), stored) << c.text << " register " << reg;
        }
    }
}

}  // namespace
}  // namespace orsan
