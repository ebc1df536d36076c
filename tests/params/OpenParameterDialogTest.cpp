#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <memory>

#include "FakeModbusPeer.h"
#include "MessageHook.h"
#include "OpenParameterDialog.h"
#include "ParamRegisters.h"
#include "QtPrinters.h"
#include "SensorPoller.h"
#include "SettingParsDlg.h"

namespace orsan {
namespace {

using test::FakeModbusPeer;

TEST(OpenParameterDialog, ANonModalWindowPausesOnlyItsSensorUntilItCloses) {
    FakeModbusPeer polled("127.0.0.1");
    FakeModbusPeer neighbour("127.0.0.3");
    FakeModbusPeer configured("127.0.0.2");
    configured.SetRegister(77, 33);
    ScopedMessageHook notices;

    SensorPoller poller;
    const int ids[] = {1, 2};
    const int types[] = {kDeviceTypeTriAxis, kDeviceTypeTriAxis};
    const uint32_t addresses[] = {polled.Address(), neighbour.Address()};
    const uint16_t ports[] = {polled.Port(), neighbour.Port()};
    const uint8_t units[] = {1, 1};
    ASSERT_TRUE(poller.StartPolling(2, ids, types, addresses, ports, units));
    ASSERT_TRUE(poller.WaitForVisits(1, 1, std::chrono::seconds(3)));

    auto window = std::make_unique<QWidget>();
    // A sensor behind a gateway: every request of the dialog carries its unit.
    const SensorEndpoint target{configured.Address(), configured.Port(), 17};
    const auto open = [&] {
        return OpenParameterDialog(window.get(), poller, 1, target, 37.5f,
                                   QStringLiteral("P-101"));
    };
    QPointer<SettingParsDlg> dialog = open();
    ASSERT_TRUE(dialog);
    // Open beside the station, which goes on taking input.
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(dialog->windowTitle(),
              QStringLiteral("1# P-101 - 设置传感器参数,当前传感器IP为: 127.0.0.2"));
    const auto text = [&](int id) {
        return dialog->findChild<QWidget*>(QStringLiteral("id%1").arg(id))
            ->property("text")
            .toString();
    };
    EXPECT_EQ(text(1102), QStringLiteral("37.5"));
    EXPECT_EQ(text(FieldInfo(kFieldVelocityBandLow).controlId), QStringLiteral("33"));
    EXPECT_EQ(configured.Requests().size(), 7u);
    for (const test::RecordedRequest& r : configured.Requests()) EXPECT_EQ(r.Unit(), 17);
    EXPECT_EQ(open(), dialog.data());  // one per sensor: the open one again
    EXPECT_EQ(configured.Requests().size(), 7u);

    EXPECT_TRUE(poller.IsPaused(1));
    EXPECT_FALSE(poller.IsPaused(2));
    EXPECT_TRUE(poller.IsPolling());  // the lamp stays on: paused, not ended
    // A visit under way ends before the neighbour has been visited twice
    // more; after that no new connection to the paused sensor.
    const auto visitsOfTwo = [&](uint64_t more) {
        return poller.WaitForVisits(2, poller.CompletedVisits(2) + more, std::chrono::seconds(5));
    };
    visitsOfTwo(2);
    const int quiet = polled.Accepts();
    EXPECT_TRUE(visitsOfTwo(3));
    EXPECT_EQ(polled.Accepts(), quiet);

    // Escape closes it and its sensor is polled again at once.
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog && dialog->isVisible());
    EXPECT_FALSE(poller.IsPaused(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isNull(); }, 2000));
    EXPECT_TRUE(poller.WaitForVisits(1, poller.CompletedVisits(1) + 2, std::chrono::seconds(10)));
    EXPECT_TRUE(poller.GetMeasurement(1).CommOk);

    // Its window closing or going while it is open never leaves it paused.
    for (const bool windowGoes : {false, true}) {
        dialog = open();
        EXPECT_TRUE(poller.IsPaused(1));
        if (windowGoes)
            window.reset();
        else
            CloseParameterDialogs(window.get());
        EXPECT_FALSE(dialog && dialog->isVisible()) << windowGoes;
        EXPECT_FALSE(poller.IsPaused(1)) << windowGoes;
    }
    EXPECT_TRUE(dialog.isNull());
    EXPECT_TRUE(notices.Notices().empty());
    poller.StopPolling();
}

}  // namespace
}  // namespace orsan
