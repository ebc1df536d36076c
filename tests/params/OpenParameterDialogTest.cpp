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

TEST(OpenParameterDialog, OnlyItsSensorPausesWhileTheDialogIsOpenAndResumesAfter) {
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

    bool sawDialog = false, pausedInside = false, neighbourPausedInside = true;
    bool pollingInside = false, pollerLeftSensorAlone = false, neighbourVisited = false;
    bool dialogReadSensor = false;
    QString caption;
    QString manualSpeed, band;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<SettingParsDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        watcher.stop();
        sawDialog = true;
        pausedInside = poller.IsPaused(1);
        neighbourPausedInside = poller.IsPaused(2);
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
        // A visit under way ends before the neighbour has been visited twice
        // more; after that no new connection to the paused sensor.
        const auto visitsOfTwo = [&](uint64_t more) {
            return poller.WaitForVisits(2, poller.CompletedVisits(2) + more,
                                        std::chrono::seconds(5));
        };
        visitsOfTwo(2);
        const int now = polled.Accepts();
        neighbourVisited = visitsOfTwo(3);
        pollerLeftSensorAlone = polled.Accepts() == now;
        dialog->reject();
    });
    watcher.start();

    // A sensor behind a gateway: every request of the dialog carries its unit.
    const SensorEndpoint target{configured.Address(), configured.Port(), 17};
    OpenParameterDialog(nullptr, poller, 1, target, 37.5f);
    for (const test::RecordedRequest& r : configured.Requests()) EXPECT_EQ(r.Unit(), 17);

    EXPECT_TRUE(sawDialog);
    EXPECT_TRUE(pausedInside);
    EXPECT_FALSE(neighbourPausedInside);
    EXPECT_TRUE(neighbourVisited);
    EXPECT_TRUE(pollingInside);  // the lamp stays on: paused, not ended
    EXPECT_TRUE(dialogReadSensor);
    EXPECT_TRUE(pollerLeftSensorAlone);
    EXPECT_EQ(caption, QStringLiteral("设置传感器参数,当前传感器IP为: 127.0.0.2"));
    EXPECT_EQ(manualSpeed, QStringLiteral("37.5"));
    EXPECT_EQ(band, QStringLiteral("33"));

    EXPECT_FALSE(poller.IsPaused(1));
    const int after = polled.Accepts();
    EXPECT_TRUE(polled.WaitForAccepts(after + 2, std::chrono::seconds(3)));
    // Resumed visits read the sensor again, not just connect to it.
    EXPECT_TRUE(poller.WaitForVisits(1, poller.CompletedVisits(1) + 2, std::chrono::seconds(10)));
    EXPECT_TRUE(poller.GetMeasurement(1).CommOk);
    poller.StopPolling();
}

}  // namespace
}  // namespace orsan
