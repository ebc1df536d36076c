#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DialogControls.h"

namespace orsan {
namespace {

TEST(DialogControls, EveryKindIsAChildPlacedInDialogUnitsAndNamedByItsId) {
    QDialog dialog;
    dialog.setFont(DialogFont());
    const DialogControls ui(&dialog);
    const DialogUnits units(dialog.font());
    struct Case {
        QWidget* control;
        QRect dlu;
        const char* name;
    };
    const Case cases[] = {
        {ui.Label("范围:", 343, 31, 50, 8), {343, 31, 50, 8}, ""},
        {ui.Label("-", 190, 3, 72, 8, Qt::AlignCenter, 1118), {190, 3, 72, 8}, "id1118"},
        {ui.Button(1109, "开始采集", 108, 7, 50, 14), {108, 7, 50, 14}, "id1109"},
        {ui.IconButton(1033, "调整", 136, "tip", 395, 28, 47, 14), {395, 28, 47, 14}, "id1033"},
        {ui.Group("通信状态", 338, 48, 108, 24), {338, 48, 108, 24}, ""},
        {ui.Place(new QLineEdit(&dialog), 393, 13, 30, 12, 1031), {393, 13, 30, 12}, "id1031"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.control->parentWidget(), &dialog);
        EXPECT_EQ(c.control->geometry(),
                  units.Rect(c.dlu.x(), c.dlu.y(), c.dlu.width(), c.dlu.height()));
        EXPECT_EQ(c.control->objectName(), QString::fromUtf8(c.name));
    }
    EXPECT_EQ(qobject_cast<QLabel*>(cases[0].control)->alignment(), DialogControls::kLeft);
    EXPECT_EQ(qobject_cast<QLabel*>(cases[1].control)->alignment(), Qt::AlignCenter);
}

TEST(DialogControls, ButtonsNeverActOnEnterAndIconButtonsCarryPictureAndTip) {
    QDialog dialog;
    const DialogControls ui(&dialog);
    QPushButton* plain = ui.Button(1, "OK", 103, 33, 30, 12);
    QPushButton* icon = ui.IconButton(1011, "修改", 143, "设置传感器地址!", 281, 55, 48, 14);
    for (QPushButton* b : {plain, icon}) {
        EXPECT_FALSE(b->autoDefault()) << b->text().toStdString();
        EXPECT_FALSE(b->isDefault()) << b->text().toStdString();
    }
    EXPECT_TRUE(plain->icon().isNull());
    EXPECT_FALSE(icon->icon().isNull());
    EXPECT_EQ(icon->iconSize(), QSize(16, 16));
    EXPECT_EQ(icon->toolTip(), QStringLiteral("设置传感器地址!"));
}

}  // namespace
}  // namespace orsan
