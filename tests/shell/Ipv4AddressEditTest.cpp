#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "Ipv4AddressEdit.h"
#include "QtPrinters.h"
#include "SensorEndpoint.h"

namespace orsan {
namespace {

class AddressEditTyping : public ::testing::Test {
protected:
    void SetUp() override {
        edit.setObjectName(QStringLiteral("id1084"));
        edit.resize(edit.sizeHint());
        edit.show();
        QApplication::setActiveWindow(&edit);
        edit.Field(1)->setFocus();
        QApplication::processEvents();
    }

    QString Texts() const {
        QStringList parts;
        for (int k = 1; k <= 4; ++k) parts << edit.Field(k)->text();
        return parts.join(QLatin1Char('|'));
    }

    QLineEdit* Focused() const { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }

    // Each key goes to whichever field has the focus at that moment.
    void Type(const QString& keys) {
        for (QChar key : keys) QTest::keyClicks(Focused(), QString(key));
    }

    Ipv4AddressEdit edit;
};

TEST(AddressEdit, EmptyOctetsCountAsZeroAndValuesAbove255As255NeverWrapped) {
    Ipv4AddressEdit edit;
    EXPECT_TRUE(edit.IsBlank());
    EXPECT_EQ(edit.Address(), 0u);
    edit.Field(1)->setText(QStringLiteral("192"));
    edit.Field(3)->setText(QStringLiteral("7"));
    EXPECT_FALSE(edit.IsBlank());
    EXPECT_TRUE(edit.IsOctetBlank(2));
    EXPECT_FALSE(edit.IsOctetBlank(3));
    EXPECT_EQ(edit.Address(), MakeAddress(192, 0, 7, 0));
    edit.Clear();
    EXPECT_TRUE(edit.IsBlank());
    edit.Field(2)->setText(QStringLiteral("300"));
    edit.Field(4)->setText(QStringLiteral("999"));
    EXPECT_EQ(edit.Octet(2), 255);
    EXPECT_EQ(edit.Address(), MakeAddress(0, 255, 0, 255));
}

TEST(AddressEdit, SetAddressAndAddressRoundTrip) {
    const uint32_t addresses[] = {
        MakeAddress(192, 168, 1, 10), MakeAddress(0, 0, 0, 0),    MakeAddress(255, 255, 255, 255),
        MakeAddress(127, 0, 0, 6),    MakeAddress(10, 0, 255, 1), MakeAddress(1, 2, 3, 4),
    };
    Ipv4AddressEdit edit;
    for (uint32_t address : addresses) {
        edit.SetAddress(address);
        EXPECT_EQ(edit.Address(), address);
        EXPECT_FALSE(edit.IsBlank());
        for (int k = 1; k <= 4; ++k) {
            EXPECT_EQ(edit.Field(k)->text(), QString::number(AddressOctet(address, k)));
            EXPECT_EQ(edit.Octet(k), AddressOctet(address, k));
        }
    }
    edit.SetOctets(192, 168, 1, 10);
    EXPECT_EQ(edit.Field(1)->text(), QStringLiteral("192"));
    EXPECT_EQ(edit.Field(4)->text(), QStringLiteral("10"));
    EXPECT_EQ(edit.Address(), 0x0A01A8C0u);
}

TEST_F(AddressEditTyping, DottedTextFillsTheFourFields) {
    ASSERT_NE(Focused(), nullptr);
    Type(QStringLiteral("192.168.1.10"));
    EXPECT_EQ(Texts(), QStringLiteral("192|168|1|10"));
    EXPECT_EQ(edit.Address(), MakeAddress(192, 168, 1, 10));
    EXPECT_EQ(edit.objectName(), QStringLiteral("id1084"));
}

TEST_F(AddressEditTyping, ThreeDigitsMoveOnAndOver255IsClampedOnLeaving) {
    Type(QStringLiteral("256"));
    EXPECT_EQ(Focused(), edit.Field(2)) << "a full field hands over";
    EXPECT_EQ(edit.Field(1)->text(), QStringLiteral("255"));
    Type(QStringLiteral("1"));
    Type(QStringLiteral("."));
    EXPECT_EQ(Focused(), edit.Field(3));
    Type(QStringLiteral("9"));
    // Leaving with the right arrow at the end of the field.
    QTest::keyClick(Focused(), Qt::Key_Right);
    EXPECT_EQ(Focused(), edit.Field(4));
    Type(QStringLiteral("999"));
    EXPECT_EQ(edit.Field(4)->text(), QStringLiteral("999")) << "the last field keeps the focus";
    edit.Field(1)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(edit.Field(4)->text(), QStringLiteral("255"));
    EXPECT_EQ(edit.Address(), MakeAddress(255, 1, 9, 255));
}

TEST_F(AddressEditTyping, DotOnEmptyFieldStaysAndLettersAreRefused) {
    Type(QStringLiteral("."));
    EXPECT_EQ(Focused(), edit.Field(1));
    Type(QStringLiteral("a1b"));
    EXPECT_EQ(Texts(), QStringLiteral("1|||"));
    Type(QStringLiteral(".2"));
    EXPECT_EQ(Texts(), QStringLiteral("1|2||"));
    // Backspace empties the field, then steps back to the previous one.
    QTest::keyClick(Focused(), Qt::Key_Backspace);
    EXPECT_EQ(Focused(), edit.Field(2));
    QTest::keyClick(Focused(), Qt::Key_Backspace);
    EXPECT_EQ(Focused(), edit.Field(1));
    QTest::keyClick(Focused(), Qt::Key_Backspace);
    EXPECT_TRUE(edit.IsBlank());
}

}  // namespace
}  // namespace orsan
