#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "MessageHook.h"
#include "SettingParsDlg.h"
#include "TranslationProbe.h"

namespace orsan {
namespace {

TEST(ParamTranslation, EveryTextFollowsTheInstalledLanguageAndComesBackUnchanged) {
    SettingParsDlg d;
    d.SetSensorAddress(0x0100007F);  // 127.0.0.1
    const QStringList chinese = ShownTexts(&d);
    {
        MarkingTranslator english;
        EXPECT_EQ(UnmarkedChinese(ShownTexts(&d)), QStringList());
    }
    EXPECT_EQ(ShownTexts(&d), chinese);
}

// A refusal reads as designed in Chinese, and wholly translated (its field
// names too) in another language. Nothing is sent: no sensor is needed.
TEST(ParamTranslation, RefusalsKeepTheirChineseAndTranslateWithTheirFieldNames) {
    struct Case {
        ParamAction action;
        int control;
        const char* typed;  // null: the drop-down is left without a choice
        const char* chinese;
    };
    const Case cases[] = {
        {ParamAction::ManualSpeed, 1102, "abc",
         "“人工输入的配置转速值”不是有效的数字，请重新输入。未发送任何数据。"},
        {ParamAction::Ratio, 1108, "1e6",
         "“传感器当前传动比系数”超出范围，允许范围为 0 到 655.35。未发送任何数据。"},
        {ParamAction::Filters, 1096, "1001",
         "“振动速度带通滤波器带通频带下限”（1001 Hz）高于“振动速度带通滤波器带通频带上限”（1000 "
         "Hz），请重新输入。未发送任何数据。"},
        {ParamAction::SpeedSource, kControlSpeedSource, nullptr,
         "请选择“传感器内部转速信号源”。未发送任何数据。"},
    };
    for (const Case& c : cases) {
        SettingParsDlg d;
        d.findChild<QLineEdit*>(QStringLiteral("id1085"))->setText(QStringLiteral("1000"));
        const QString name = QStringLiteral("id%1").arg(c.control);
        if (c.typed)
            d.findChild<QLineEdit*>(name)->setText(QString::fromUtf8(c.typed));
        else
            d.findChild<QComboBox*>(name)->setCurrentIndex(-1);
        ScopedMessageHook notices;
        EXPECT_FALSE(d.RunAction(c.action));
        EXPECT_EQ(notices.LastNoticeText(), QString::fromUtf8(c.chinese));
        MarkingTranslator english;
        EXPECT_FALSE(d.RunAction(c.action));
        EXPECT_EQ(UnmarkedChinese({notices.LastNoticeText()}), QStringList()) << c.chinese;
    }
}

}  // namespace
}  // namespace orsan
