#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DialogControls.h"
#include "QtPrinters.h"

namespace orsan {
namespace {

// A dialog in the station's font, as every dialog builds its controls.
class DialogControlsTest : public ::testing::Test {
protected:
    DialogControlsTest() { dialog.setFont(DialogFont()); }

    QDialog dialog;
};

TEST_F(DialogControlsTest, EveryKindIsAChildPlacedInDialogUnitsAndNamedByItsId) {
    const DialogControls ui(&dialog);
    const DialogUnits units(dialog.font());
    struct Case {
        const char* what;
        QWidget* control;
        QRect dlu;
        QString name;
    };
    const Case cases[] = {
        {"label", ui.Label(QStringLiteral("范围:"), 343, 31, 50, 8), {343, 31, 50, 8}, QString()},
        {"named label",
         ui.Label(QStringLiteral("-"), 190, 3, 72, 8, Qt::AlignCenter, 1118),
         {190, 3, 72, 8},
         QStringLiteral("id1118")},
        {"button",
         ui.Button(1109, QStringLiteral("开始采集"), 108, 7, 50, 14),
         {108, 7, 50, 14},
         QStringLiteral("id1109")},
        {"icon button",
         ui.IconButton(1033, QStringLiteral("调整"), 136, QStringLiteral("tip"), 395, 28, 47, 14),
         {395, 28, 47, 14},
         QStringLiteral("id1033")},
        {"group",
         ui.Group(QStringLiteral("通信状态"), 338, 48, 108, 24),
         {338, 48, 108, 24},
         QString()},
        {"placed edit",
         ui.Place(new QLineEdit(&dialog), 393, 13, 30, 12, 1031),
         {393, 13, 30, 12},
         QStringLiteral("id1031")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.control->parentWidget(), &dialog);
        EXPECT_EQ(c.control->geometry(),
                  units.Rect(c.dlu.x(), c.dlu.y(), c.dlu.width(), c.dlu.height()));
        EXPECT_EQ(c.control->objectName(), c.name);
    }
    // Pixels follow the font: a dialog unit is not one pixel.
    EXPECT_NE(units.Rect(343, 31, 50, 8), QRect(343, 31, 50, 8));
}

TEST_F(DialogControlsTest, ButtonsNeverActOnEnterAndIconButtonsCarryPictureAndTip) {
    const DialogControls ui(&dialog);
    QPushButton* plain = ui.Button(1, QStringLiteral("OK"), 103, 33, 30, 12);
    QPushButton* icon = ui.IconButton(1011, QStringLiteral("修改"), 143,
                                      QStringLiteral("设置传感器地址!"), 281, 55, 48, 14);
    for (QPushButton* b : {plain, icon}) {
        EXPECT_FALSE(b->autoDefault()) << b->text().toStdString();
        EXPECT_FALSE(b->isDefault()) << b->text().toStdString();
    }
    EXPECT_TRUE(plain->icon().isNull());
    EXPECT_FALSE(icon->icon().isNull());
    EXPECT_EQ(icon->iconSize(), QSize(16, 16));
    EXPECT_EQ(icon->toolTip(), QStringLiteral("设置传感器地址!"));
    EXPECT_EQ(icon->text(), QStringLiteral("修改"));
}

TEST_F(DialogControlsTest, LabelsAreLeftAlignedUnlessToldOtherwise) {
    const DialogControls ui(&dialog);
    EXPECT_EQ(ui.Label(QStringLiteral("a"), 0, 0, 10, 8)->alignment(),
              Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(ui.Label(QStringLiteral("b"), 0, 0, 10, 8, Qt::AlignCenter)->alignment(),
              Qt::AlignCenter);
    EXPECT_EQ(ControlName(1055), QStringLiteral("id1055"));
}

}  // namespace
}  // namespace orsan
