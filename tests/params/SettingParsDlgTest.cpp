#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "FakeModbusPeer.h"
#include "Ipv4AddressEdit.h"
#include "MessageHook.h"
#include "ParamNotifier.h"
#include "QtPrinters.h"
#include "SettingParsDlg.h"
#include "StoredConfiguration.h"

namespace orsan {
namespace {

using test::ExceptionAnswer;
using test::FakeModbusPeer;
using test::RecordedRequest;

template <typename T>
T* Child(const QWidget& parent, int id) {
    T* child = parent.findChild<T*>(QStringLiteral("id%1").arg(id));
    EXPECT_NE(child, nullptr) << "id" << id;
    return child;
}

QLineEdit* Edit(const QWidget& d, ParamField f) {
    return Child<QLineEdit>(d, FieldInfo(f).controlId);
}
Ipv4AddressEdit* Address(const QWidget& d, ParamAddress a) {
    return Child<Ipv4AddressEdit>(d, AddressInfo(a).controlId);
}

// A dialog aimed at a fake peer, not yet shown.
struct DialogOnPeer {
    explicit DialogOnPeer(FakeModbusPeer& peer, float speed = 24.5f) {
        dialog.SetSensorAddress(peer.Address());
        dialog.SetSensorPort(peer.Port());
        dialog.SetManualSpeed(speed);
    }
    SettingParsDlg dialog;
};

TEST(SettingParsDlgLayout, EveryControlHasItsIdTextAndItems) {
    SettingParsDlg d;
    for (int f = 0; f < kParamFieldCount; ++f) Edit(d, ParamField(f));
    for (int a = 0; a < kParamAddressCount; ++a) Address(d, ParamAddress(a));

    const std::pair<int, QStringList> combos[] = {
        {1124, {"自动识别", "人工输入"}},
        {1125, {"工频", "变频"}},
    };
    for (const auto& [id, items] : combos) {
        QComboBox* c = Child<QComboBox>(d, id);
        ASSERT_NE(c, nullptr);
        ASSERT_EQ(c->count(), items.size());
        for (int i = 0; i < items.size(); ++i) EXPECT_EQ(c->itemText(i), items[i]);
        EXPECT_EQ(c->currentIndex(), 0);
    }
    for (ParamAction a : kWriteActions) {
        QPushButton* b = Child<QPushButton>(d, int(a));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QStringLiteral("写入"));
        EXPECT_FALSE(b->autoDefault());
    }
    EXPECT_EQ(Child<QPushButton>(d, 1103)->text(), QStringLiteral("保存"));

    QStringList captions;
    for (QGroupBox* g : d.findChildren<QGroupBox*>()) captions << g->title();
    QStringList labels;
    for (QLabel* l : d.findChildren<QLabel*>()) labels << l->text();
    const char* groups[][2] = {
        {"设置滤波器参数（写入完毕后立即生效）", "地址：77....82"},
        {"设置部件特征参数（写入完毕后立即生效）", "地址：103....107"},
        {"设置网络地址参数（写入完毕后需保存参数才能生效）", "地址：111....118"},
        {"设置传动比（写入完毕后需保存参数才能生效）", "地址：120"},
        {"设置传感器内部转速的来源（写入完毕后需保存参数才能生效）", "地址：130"},
        {"速度源1：设置人工输入转速（写入完毕后立即生效）", "地址：67"},
        {"速度源2：设置自动识别转速的模式（写入完毕后立即生效）", "地址：131,132"},
    };
    EXPECT_EQ(captions.size(), 7);
    for (const auto& g : groups) {
        EXPECT_TRUE(captions.contains(QString::fromUtf8(g[0]))) << g[0];
        EXPECT_TRUE(labels.contains(QString::fromUtf8(g[1]))) << g[1];
    }
    for (const char* text :
         {"振动速度带通滤波器带通频带范围：",
          "加速度带通滤波器带通频带范围：",
          "振动位移带通滤波器带通频带范围：",
          "内圈特征系数：",
          "外圈特征系数：",
          "滚动体特征系数：",
          "保持架特征系数：",
          "叶片类特征系数：",
          "网关：",
          "子网掩码：",
          "DNS：",
          "传感器IP：",
          "传感器当前传动比系数：",
          "传感器内部转速信号源：",
          "人工输入的配置转速值：",
          "转速自动识别工况模式：",
          "额定参考转速:",
          "倍转频",
          "Hz",
          "（注意：以上参数写入后需点击保存，否则传感器断电重启后参数会恢复默认！）"}) {
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    }
    EXPECT_EQ(d.windowTitle(), QStringLiteral("设置传感器参数"));
    d.SetSensorAddress(MakeAddress(192, 168, 1, 10));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("设置传感器参数,当前传感器IP为: 192.168.1.10"));
}

TEST(SettingParsDlgOpening, ReadsTheSensorOnceAndFillsEveryGroup) {
    FakeModbusPeer peer;
    LoadConfiguration(peer);
    ScopedMessageHook notices;
    DialogOnPeer p(peer, 24.5f);
    SettingParsDlg& d = p.dialog;
    d.show();
    d.hide();
    d.show();  // showing again does not read again

    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 7u);
    EXPECT_EQ(peer.Accepts(), 1);
    for (const RecordedRequest& r : requests) EXPECT_NE(r.Register(), 67);

    const std::pair<ParamField, const char*> shown[] = {
        {kFieldVelocityBandLow, "10"},       {kFieldAccelerationBandHigh, "10000"},
        {kFieldDisplacementBandHigh, "200"}, {kFieldInnerRing, "5.12"},
        {kFieldOuterRing, "3.48"},           {kFieldBlade, "12.34"},
        {kFieldTransmissionRatio, "1.5"},    {kFieldRatedSpeed, "50"},
        {kFieldManualSpeed, "24.5"},  // pre-filled, never read
    };
    for (const auto& [field, text] : shown) {
        EXPECT_EQ(Edit(d, field)->text(), QString::fromUtf8(text)) << FieldInfo(field).name;
    }
    EXPECT_EQ(Address(d, kAddressGateway)->Address(), MakeAddress(192, 168, 1, 1));
    EXPECT_EQ(Address(d, kAddressSubnetMask)->Address(), MakeAddress(255, 255, 255, 0));
    EXPECT_EQ(Address(d, kAddressDns)->Address(), MakeAddress(8, 8, 4, 4));
    EXPECT_EQ(Address(d, kAddressSensor)->Address(), MakeAddress(192, 168, 1, 10));
    EXPECT_EQ(Child<QComboBox>(d, 1124)->currentIndex(), 1);
    EXPECT_EQ(Child<QComboBox>(d, 1125)->currentIndex(), 1);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("设置传感器参数,当前传感器IP为: 127.0.0.1"));
    EXPECT_TRUE(notices.Notices().empty());

    const QString folder = qEnvironmentVariable("ORSAN_GRAB_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(d.grab().save(folder + QStringLiteral("/SettingParsDlg-read.png")));
    }
}

TEST(SettingParsDlgOpening, ASensorAnsweringSomeRequestsChangesExactlyThoseGroups) {
    FakeModbusPeer peer;
    LoadConfiguration(peer);
    // Components and network answered; everything else refused or wrong.
    peer.SetResponder([](const RecordedRequest& r, FakeModbusPeer& p) -> FakeModbusPeer::Reply {
        if (r.Register() == 103 || r.Register() == 111 || r.Register() == 131) return p.Standard(r);
        if (r.Register() == 130) return std::nullopt;
        return ExceptionAnswer(r.bytes, 2);
    });
    ScopedMessageHook notices;
    DialogOnPeer p(peer, 7.25f);
    SettingParsDlg& d = p.dialog;
    d.show();
    ASSERT_EQ(peer.Requests().size(), 7u);

    for (ParamField f : {kFieldVelocityBandLow, kFieldDisplacementBandHigh, kFieldTransmissionRatio,
                         kFieldRatedSpeed}) {
        EXPECT_EQ(Edit(d, f)->text(), QStringLiteral("0")) << FieldInfo(f).name;
    }
    EXPECT_EQ(Edit(d, kFieldInnerRing)->text(), QStringLiteral("5.12"));
    EXPECT_EQ(Edit(d, kFieldBlade)->text(), QStringLiteral("12.34"));
    EXPECT_EQ(Edit(d, kFieldManualSpeed)->text(), QStringLiteral("7.25"));
    EXPECT_EQ(Address(d, kAddressSensor)->Address(), MakeAddress(192, 168, 1, 10));
    EXPECT_EQ(Child<QComboBox>(d, 1124)->currentIndex(), 0);
    EXPECT_EQ(Child<QComboBox>(d, 1125)->currentIndex(), 1);
    EXPECT_TRUE(notices.Notices().empty());
}

TEST(SettingParsDlgOpening, AnUnreachableSensorLeavesTheInitialValuesSilently) {
    ScopedMessageHook notices;
    SettingParsDlg d;
    {
        FakeModbusPeer gone;  // its port is closed again before the dialog opens
        d.SetSensorAddress(gone.Address());
        d.SetSensorPort(gone.Port());
    }
    d.SetManualSpeed(12.5f);
    d.show();
    EXPECT_TRUE(notices.Notices().empty());
    for (int f = 0; f < kParamFieldCount; ++f) {
        const QString expected =
            f == kFieldManualSpeed ? QStringLiteral("12.5") : QStringLiteral("0");
        EXPECT_EQ(Edit(d, ParamField(f))->text(), expected) << FieldInfo(ParamField(f)).name;
    }
    for (int a = 0; a < kParamAddressCount; ++a)
        EXPECT_TRUE(Address(d, ParamAddress(a))->IsBlank());
    EXPECT_EQ(Child<QComboBox>(d, 1124)->currentIndex(), 0);
    EXPECT_EQ(Child<QComboBox>(d, 1125)->currentIndex(), 0);
}

// Types one text into a field of the shown dialog.
void Type(SettingParsDlg& d, ParamField f, const char* text) {
    Edit(d, f)->setText(QString::fromUtf8(text));
}

TEST(SettingParsDlgWrite, EachButtonSendsItsGroupOnItsOwnConnection) {
    FakeModbusPeer peer;
    ScopedMessageHook notices;
    DialogOnPeer p(peer);
    SettingParsDlg& d = p.dialog;
    d.show();
    ASSERT_TRUE(peer.WaitForRequests(7, std::chrono::seconds(2)));

    const std::pair<ParamField, const char*> typed[] = {
        {kFieldVelocityBandLow, "10"},
        {kFieldVelocityBandHigh, "1000"},
        {kFieldAccelerationBandLow, "5.9"},
        {kFieldAccelerationBandHigh, "10000"},
        {kFieldDisplacementBandLow, "2"},
        {kFieldDisplacementBandHigh, "200"},
        {kFieldInnerRing, "5.12"},
        {kFieldOuterRing, "3.48"},
        {kFieldRollingElement, "0.29"},
        {kFieldCage, "0.41"},
        {kFieldBlade, "12"},
        {kFieldTransmissionRatio, "1.5"},
        {kFieldManualSpeed, "12.34"},
        {kFieldRatedSpeed, "49.99"},
    };
    for (const auto& [f, text] : typed) Type(d, f, text);
    Address(d, kAddressGateway)->SetOctets(192, 168, 1, 1);
    Address(d, kAddressSubnetMask)->SetOctets(255, 255, 255, 0);
    Address(d, kAddressDns)->Clear();
    Address(d, kAddressSensor)->SetOctets(192, 168, 1, 10);
    Address(d, kAddressSensor)->Field(3)->clear();  // partly empty: octet 3 is 0
    Child<QComboBox>(d, 1124)->setCurrentIndex(1);
    Child<QComboBox>(d, 1125)->setCurrentIndex(1);

    struct Case {
        ParamAction action;
        std::vector<std::array<int, 3>> requests;  // transaction id, register, value
        const char* message;
    };
    const Case cases[] = {
        {ParamAction::Filters,
         {{1, 77, 10}, {2, 78, 1000}, {3, 79, 5}, {4, 80, 10000}, {5, 81, 2}, {6, 82, 200}},
         "写入成功^_^"},
        {ParamAction::Components,
         {{1, 103, 512}, {2, 104, 348}, {3, 105, 29}, {4, 106, 41}, {5, 107, 1200}},
         "写入成功^_^"},
        {ParamAction::Network,
         {{1, 111, 0xA8C0},
          {2, 112, 0x0101},
          {3, 113, 0xFFFF},
          {4, 114, 0x00FF},
          {5, 115, 0},
          {5, 116, 0},
          {5, 117, 0xA8C0},
          {5, 118, 0x0A00}},
         "写入成功^_^"},
        {ParamAction::Ratio, {{1, 120, 150}}, "写入成功^_^"},
        {ParamAction::SpeedSource, {{1, 130, 1}}, "写入成功^_^"},
        {ParamAction::ManualSpeed, {{1, 67, 1234}}, "写入成功^_^"},
        {ParamAction::SpeedMode, {{1, 131, 1}, {1, 132, 4999}}, "写入成功^_^"},
        {ParamAction::Save, {{1, 76, 11}}, "保存成功，断电重启后新的参数和IP将生效^_^"},
    };
    int connections = peer.Accepts();
    for (const Case& c : cases) {
        const size_t before = peer.Requests().size();
        notices.Clear();
        Child<QPushButton>(d, int(c.action))->click();

        const auto all = peer.Requests();
        ASSERT_EQ(all.size(), before + c.requests.size()) << int(c.action);
        for (size_t i = 0; i < c.requests.size(); ++i) {
            const RecordedRequest& r = all[before + i];
            EXPECT_EQ(r.connection, connections + 1) << int(c.action);
            EXPECT_EQ(r.Function(), 6);
            EXPECT_EQ(r.Unit(), 1);
            EXPECT_EQ(r.TransactionId(), c.requests[i][0]) << int(c.action) << " #" << i;
            EXPECT_EQ(r.Register(), c.requests[i][1]) << int(c.action) << " #" << i;
            EXPECT_EQ(r.Value(), c.requests[i][2]) << int(c.action) << " #" << i;
        }
        EXPECT_EQ(peer.Accepts(), ++connections);
        ASSERT_EQ(notices.Notices().size(), 1u) << int(c.action);
        EXPECT_EQ(notices.LastNoticeText(), QString::fromUtf8(c.message));
        EXPECT_EQ(notices.Notices()[0].caption, QStringLiteral("OrsanSensorMonitor"));
        EXPECT_EQ(notices.Notices()[0].owner, &d);
        EXPECT_EQ(notices.Notices()[0].icon, QMessageBox::Information);
    }
}

TEST(SettingParsDlgWrite, FailuresOfTheSensorShowTheFailureMessages) {
    struct Case {
        const char* what;
        ParamAction action;
        int failingRegister;
        bool silent;
        const char* message;
    };
    const Case cases[] = {
        {"exception on the last filter", ParamAction::Filters, 82, false, "写入失败!_^"},
        {"exception on the first filter", ParamAction::Filters, 77, false, "写入失败!_^"},
        {"silent rated speed", ParamAction::SpeedMode, 132, true, "写入失败!_^"},
        {"exception on save", ParamAction::Save, 76, false, "保存失败!_^"},
        {"silent save", ParamAction::Save, 76, true, "保存失败!_^"},
    };
    for (const Case& c : cases) {
        FakeModbusPeer peer;
        ScopedMessageHook notices;
        DialogOnPeer p(peer);
        p.dialog.show();
        peer.SetResponder(
            [&](const RecordedRequest& r, FakeModbusPeer& f) -> FakeModbusPeer::Reply {
                if (r.Function() != 6 || r.Register() != c.failingRegister) return f.Standard(r);
                if (c.silent) return std::nullopt;
                return ExceptionAnswer(r.bytes, 4);
            });
        EXPECT_FALSE(p.dialog.RunAction(c.action)) << c.what;
        EXPECT_EQ(notices.LastNoticeText(), QString::fromUtf8(c.message)) << c.what;
        // A failed request does not cut the group short: the last request
        // of the action still goes out.
        const uint16_t lastRegister = c.action == ParamAction::Filters     ? 82
                                      : c.action == ParamAction::SpeedMode ? 132
                                                                           : 76;
        EXPECT_EQ(peer.Requests().back().Register(), lastRegister) << c.what;
    }

    ScopedMessageHook notices;
    SettingParsDlg d;
    d.SetSensorAddress(MakeAddress(127, 0, 0, 1));
    {
        FakeModbusPeer gone;
        d.SetSensorPort(gone.Port());
    }
    EXPECT_FALSE(d.RunAction(ParamAction::ManualSpeed));
    EXPECT_EQ(notices.LastNoticeText(), QStringLiteral("写入失败!_^"));
    EXPECT_FALSE(d.RunAction(ParamAction::Save));
    EXPECT_EQ(notices.LastNoticeText(), QStringLiteral("保存失败!_^"));
}

TEST(SettingParsDlgWrite, BadFieldsAreNamedAndNothingIsSent) {
    FakeModbusPeer peer;
    ScopedMessageHook notices;
    DialogOnPeer p(peer);
    SettingParsDlg& d = p.dialog;
    d.show();
    ASSERT_EQ(peer.Requests().size(), 7u);

    struct Case {
        ParamField field;
        const char* text;
        ParamAction action;
        const char* mustMention;
    };
    const Case cases[] = {
        {kFieldManualSpeed, "abc", ParamAction::ManualSpeed, "不是有效的数字"},
        {kFieldManualSpeed, "", ParamAction::ManualSpeed, "不是有效的数字"},
        // A field not holding a number stops the write of its own group.
        {kFieldBlade, "1.2.3", ParamAction::Components, "不是有效的数字"},
        {kFieldVelocityBandLow, "1001", ParamAction::Filters, "高于"},  // upper edge: 0
        {kFieldDisplacementBandHigh, "-5", ParamAction::Filters, "0 到 65535"},
        {kFieldRollingElement, "655.36", ParamAction::Components, "0 到 655.35"},
        {kFieldRatedSpeed, "-0.01", ParamAction::SpeedMode, "0 到 655.35"},
        {kFieldTransmissionRatio, "1e6", ParamAction::Ratio, "0 到 655.35"},
    };
    for (const Case& c : cases) {
        const QString old = Edit(d, c.field)->text();
        Type(d, c.field, c.text);
        notices.Clear();
        EXPECT_FALSE(d.RunAction(c.action)) << c.text;
        ASSERT_EQ(notices.Notices().size(), 1u);
        EXPECT_EQ(notices.Notices()[0].icon, QMessageBox::Warning);
        EXPECT_TRUE(notices.LastNoticeText().contains(QString::fromUtf8(FieldInfo(c.field).name)))
            << notices.LastNoticeText().toStdString();
        EXPECT_TRUE(notices.LastNoticeText().contains(QString::fromUtf8(c.mustMention)))
            << notices.LastNoticeText().toStdString();
        Edit(d, c.field)->setText(old);
    }
    EXPECT_EQ(peer.Requests().size(), 7u);
    EXPECT_EQ(peer.Accepts(), 1);
}

TEST(SettingParsDlgWrite, ABlankFieldOfAnotherGroupDoesNotBlockAWrite) {
    FakeModbusPeer peer;
    LoadConfiguration(peer);
    ScopedMessageHook notices;
    DialogOnPeer p(peer);
    SettingParsDlg& d = p.dialog;
    d.show();
    ASSERT_TRUE(peer.WaitForRequests(7, std::chrono::seconds(2)));
    Type(d, kFieldBlade, "");
    Type(d, kFieldVelocityBandLow, "abc");
    Type(d, kFieldTransmissionRatio, "2.5");
    notices.Clear();
    EXPECT_TRUE(d.RunAction(ParamAction::Ratio)) << notices.LastNoticeText().toStdString();
    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 8u);
    EXPECT_EQ(requests.back().Register(), 120);
    EXPECT_EQ(requests.back().Value(), 250);
    // The blank field's own group is still refused, naming it.
    EXPECT_FALSE(d.RunAction(ParamAction::Components));
    EXPECT_TRUE(notices.LastNoticeText().contains(QString::fromUtf8(FieldInfo(kFieldBlade).name)));
    EXPECT_EQ(peer.Requests().size(), 8u);
}

TEST(SettingParsDlgKeys, EnterNeitherClosesNorWritesAndEscapeCloses) {
    FakeModbusPeer peer;
    ScopedMessageHook notices;
    DialogOnPeer p(peer);
    SettingParsDlg& d = p.dialog;
    d.show();
    QApplication::setActiveWindow(&d);
    for (QWidget* target : std::initializer_list<QWidget*>{
             Edit(d, kFieldManualSpeed), Edit(d, kFieldVelocityBandLow), Child<QComboBox>(d, 1124),
             Address(d, kAddressGateway)->Field(2), Child<QPushButton>(d, 1104),
             Child<QPushButton>(d, 1103), &d}) {
        target->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(target, key);
            EXPECT_TRUE(d.isVisible()) << target->objectName().toStdString();
        }
    }
    QTest::keyClick(Edit(d, kFieldManualSpeed), Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(peer.Requests().size(), 7u);
    EXPECT_TRUE(notices.Notices().empty());
}

TEST(SettingParsDlgWrite, TheCursorWaitsDuringTheExchangeOnly) {
    FakeModbusPeer peer;
    ScopedMessageHook notices;
    DialogOnPeer p(peer);
    p.dialog.show();

    // The dialog thread is blocked in the exchange while the peer answers,
    // so the cursor can be looked at from the peer's thread.
    std::vector<Qt::CursorShape> duringExchange;
    peer.SetResponder([&](const RecordedRequest& r, FakeModbusPeer& f) {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        duringExchange.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
        return f.Standard(r);
    });
    EXPECT_TRUE(p.dialog.RunAction(ParamAction::SpeedMode));
    ASSERT_EQ(duringExchange.size(), 2u);
    for (Qt::CursorShape shape : duringExchange) EXPECT_EQ(shape, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(ParamNotifierDefault, ShowsARealMessageBoxWithOkAndTheApplicationName) {
    QWidget owner;
    owner.show();
    QString seenText, seenTitle;
    QWidget* seenParent = nullptr;
    int buttons = 0;
    bool okFound = false;
    // Polls until the box is up: it only exists inside NotifyParam's modal loop.
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        closer.stop();
        seenText = box->text();
        seenTitle = box->windowTitle();
        seenParent = box->parentWidget();
        buttons = int(box->buttons().size());
        okFound = box->button(QMessageBox::Ok) != nullptr;
        box->button(QMessageBox::Ok)->click();
    });
    closer.start();
    NotifyParam(&owner, QStringLiteral("写入成功^_^"), ParamNoticeKind::Result);
    EXPECT_EQ(seenText, QStringLiteral("写入成功^_^"));
    EXPECT_EQ(seenTitle, QStringLiteral("OrsanSensorMonitor"));
    EXPECT_EQ(seenParent, &owner);
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(okFound);
}

}  // namespace
}  // namespace orsan
