#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

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

TEST(OpenParameterDialog, PollingPausesWhileTheDialogIsOpenAndResumesAfter) {
    FakeModbusPeer polled("127.0.0.1");
    FakeModbusPeer configured("127.0.0.2");
    configured.SetRegister(77, 33);
    ScopedMessageHook notices;

    SensorPoller poller;
    const int ids[] = {1};
    const int types[] = {kDeviceTypeTriAxis};
    const uint32_t addresses[] = {polled.Address()};
    const uint16_t ports[] = {polled.Port()};
    const uint8_t units[] = {1};
    ASSERT_TRUE(poller.StartPolling(1, ids, types, addresses, ports, units));
    ASSERT_TRUE(polled.WaitForAccepts(1, std::chrono::seconds(3)));

    bool sawDialog = false, pausedInside = false, pollingInside = false;
    bool pollerLeftSensorAlone = false, dialogReadSensor = false;
    QString caption;
    QString manualSpeed, band;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<SettingParsDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        watcher.stop();
        sawDialog = true;
        pausedInside = poller.IsPaused();
        pollingInside = poller.IsPolling();
        caption = dialog->windowTitle();
        const auto text = [dialog](int id) {
            return dialog->findChild<QWidget*>(QStringLiteral("id%1").arg(id))
                ->property("text")
                .toString();
        };
        manualSpeed = text(1102);
        band = text(FieldInfo(kFieldVelocityBandLow).controlId);
        dialogReadSensor = configured.Requests().size() == 7 && !configured.Requests().empty() &&
                           configured.Requests()[0].Register() == 77;
        // A visit under way may finish; after that no new connection while
        // paused (one visit is about 110 ms apart, so 600 ms would show 5).
        const int now = polled.Accepts();
        pollerLeftSensorAlone = !polled.WaitForAccepts(now + 2, std::chrono::milliseconds(600));
        dialog->reject();
    });
    watcher.start();

    const SensorEndpoint target{configured.Address(), configured.Port(), 1};
    OpenParameterDialog(nullptr, poller, target.address, target.port, 37.5f);

    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(pausedInside);
    EXPECT_TRUE(pollingInside);  // the lamp stays on: paused, not ended
    EXPECT_TRUE(dialogReadSensor);
    EXPECT_TRUE(pollerLeftSensorAlone);
    EXPECT_EQ(caption, QStringLiteral("设置传感器参数,当前传感器IP为: 127.0.0.2"));
    EXPECT_EQ(manualSpeed, QStringLiteral("37.5"));
    EXPECT_EQ(band, QStringLiteral("33"));

    EXPECT_FALSE(poller.IsPaused());
    const int after = polled.Accepts();
    EXPECT_TRUE(polled.WaitForAccepts(after + 2, std::chrono::seconds(3)));
    // Resumed visits read the sensor again, not just connect to it.
    EXPECT_TRUE(poller.WaitForCycles(poller.CompletedCycles() + 2, std::chrono::seconds(10)));
    EXPECT_TRUE(poller.GetMeasurement(1).CommOk);
    poller.StopPolling();
}

}  // namespace
}  // namespace orsan
