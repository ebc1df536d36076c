#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <functional>

#include "DialogUnits.h"
#include "MessageDlg.h"
#include "MessageHook.h"
#include "QtPrinters.h"

namespace orsan {
namespace {

// Runs `step` once the modal dialog started by the code under test is up.
// A missing dialog is recorded as a failure and the loop is left open for
// the safety timer to close.
void WhenModalShown(std::function<void(QDialog*)> step) {
    QTimer::singleShot(0, [step = std::move(step)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no modal dialog on screen";
        step(dialog);
    });
}

// Closes any modal dialog left open by a broken test after 5 s, so a
// failure shows up as a failed assertion rather than a hung run.
class ModalSafety {
public:
    ModalSafety() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "modal dialog still open after 5 s";
                dialog->done(-1);
            }
        });
        timer_.start(5000);
    }

private:
    QTimer timer_;
};

void PressKeys(QWidget* widget) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(widget, key);
    }
}

TEST(MessageDlgLayout, ControlsSitAtTheirDialogUnitPlaces) {
    const DialogUnits units;
    MessageDlg notice;
    EXPECT_EQ(notice.windowTitle(), QStringLiteral("消息提示"));
    EXPECT_EQ(notice.size(), units.Size(135, 47));
    auto* box = notice.findChild<QPlainTextEdit*>(QStringLiteral("id1055"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->geometry(), units.Rect(2, 2, 131, 28));
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_TRUE(box->toPlainText().isEmpty());
    auto* ok = notice.findChild<QPushButton*>(QStringLiteral("id1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(ok->geometry(), units.Rect(103, 33, 30, 12));

    YesnoMsgDlg question;
    EXPECT_EQ(question.windowTitle(), QStringLiteral("消息确认提示！"));
    EXPECT_EQ(question.size(), units.Size(135, 47));
    EXPECT_EQ(question.Text(), QStringLiteral("-"));
    auto* qbox = question.findChild<QPlainTextEdit*>(QStringLiteral("id1055"));
    ASSERT_NE(qbox, nullptr);
    EXPECT_EQ(qbox->toPlainText(), QStringLiteral("-"));
    EXPECT_EQ(qbox->geometry(), units.Rect(2, 2, 131, 28));
    auto* yes = question.findChild<QPushButton*>(QStringLiteral("id1071"));
    auto* no = question.findChild<QPushButton*>(QStringLiteral("id2"));
    ASSERT_NE(yes, nullptr);
    ASSERT_NE(no, nullptr);
    EXPECT_EQ(yes->text(), QStringLiteral("是"));
    EXPECT_EQ(no->text(), QStringLiteral("否"));
    EXPECT_EQ(yes->geometry(), units.Rect(2, 33, 25, 12));
    EXPECT_EQ(no->geometry(), units.Rect(108, 33, 25, 12));
}

// The whole text in view, unscrolled, broken at words, the buttons below it.
TEST(MessageDlgLayout, DialogGrowsToShowItsWholeTextBrokenAtWords) {
    const QString english = QStringLiteral(
        "Sensor address saved but the polling thread could not reach the sensor at the "
        "configured address within the wait, please check the cable and the switch port");
    const std::pair<QString, bool> cases[] = {
        {QStringLiteral("趋势记录只能设置在1-1800s内，请重新设置"), false},
        {english, true},
        {QStringLiteral(
             "无法打开数据库文件 /home/operator/桌面/DataRecord.db。\n数据库文件已损坏"
             "或不是记录文件：请从备份恢复，或者改名后重新开始记录。\n在此之前不会记录任何数据。"),
         true},
        {QStringLiteral("/home/operator/Desktop/") + QString(90, 'x'), true}};
    for (const auto& [text, grows] : cases) {
        MessageDlg notice;
        YesnoMsgDlg question;
        notice.SetText(text);
        question.SetText(text);
        for (QDialog* dialog : {static_cast<QDialog*>(&notice), static_cast<QDialog*>(&question)}) {
            SCOPED_TRACE(dialog->metaObject()->className() + (": " + text.toStdString()));
            auto* box = dialog->findChild<QPlainTextEdit*>(QStringLiteral("id1055"));
            dialog->show();
            QApplication::processEvents();
            EXPECT_EQ(box->verticalScrollBar()->maximum(), 0) << "part of the text scrolled away";
            EXPECT_EQ(dialog->width() > DialogUnits().X(135), grows);
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                EXPECT_TRUE(button->y() > box->geometry().bottom() &&
                            dialog->rect().contains(button->geometry()));
            const QTextLayout* layout = box->document()->firstBlock().layout();
            for (int i = 0; text == english && i + 1 < layout->lineCount(); ++i)  // no word cut
                EXPECT_EQ(
                    text.at(layout->lineAt(i).textStart() + layout->lineAt(i).textLength() - 1),
                    ' ');
        }
    }
}

TEST(MessageDlgKeys, EnterAndEscapeNeitherCloseNorPress) {
    MessageDlg notice;
    YesnoMsgDlg question;
    for (QDialog* dialog : {static_cast<QDialog*>(&notice), static_cast<QDialog*>(&question)}) {
        dialog->show();
        QApplication::setActiveWindow(dialog);
        QList<QSignalSpy*> spies;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            spies.append(new QSignalSpy(button, &QPushButton::clicked));
        }
        ASSERT_FALSE(spies.isEmpty());
        QSignalSpy finished(dialog, &QDialog::finished);
        // Keys at the dialog itself, then with each child focused.
        PressKeys(dialog);
        for (QWidget* child : dialog->findChildren<QWidget*>()) {
            if (child->focusPolicy() == Qt::NoFocus) continue;
            child->setFocus();
            PressKeys(child);
        }
        QApplication::processEvents();
        EXPECT_TRUE(dialog->isVisible()) << dialog->windowTitle().toStdString();
        EXPECT_EQ(finished.count(), 0);
        for (QSignalSpy* spy : spies) EXPECT_EQ(spy->count(), 0);
        qDeleteAll(spies);
        dialog->close();
    }
}

void ClickButton(QDialog* dialog, const char* name) {
    auto* button = dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

TEST(ModalMessages, ShowTheTextAndOnlyTheirButtonsOrCloseBoxEndThem) {
    const QString question = QStringLiteral("请确认是否清空所有已经记录的数据");
    const QString notice = QStringLiteral("修改成功，已立即生效!");
    const auto ask = [&] { return AskYesNo(question); };
    const struct {
        const char* name;
        std::function<bool()> run;
        QString text, title;
        const char* button;  // nullptr: the close box
        bool expected;
    } cases[] = {
        {"yes", ask, question, QStringLiteral("消息确认提示！"), "id1071", true},
        {"no", ask, question, QStringLiteral("消息确认提示！"), "id2", false},
        {"close box", ask, question, QStringLiteral("消息确认提示！"), nullptr, false},
        {"notice",
         [&] {
             ShowMessage(notice);
             return true;  // returned once OK was pressed
         },
         notice, QStringLiteral("消息提示"), "id1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ModalSafety safety;
        bool stillOpenAfterKeys = false;
        QString shownText;
        QString title;
        WhenModalShown([&](QDialog* dialog) {
            shownText = dialog->findChild<QPlainTextEdit*>("id1055")->toPlainText();
            title = dialog->windowTitle();
            PressKeys(dialog->focusWidget() ? dialog->focusWidget() : dialog);
            PressKeys(dialog);
            QApplication::processEvents();
            stillOpenAfterKeys = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
            if (c.button)
                ClickButton(dialog, c.button);
            else
                dialog->close();
        });
        EXPECT_EQ(c.run(), c.expected);
        EXPECT_TRUE(stillOpenAfterKeys);
        EXPECT_EQ(shownText, c.text);
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST(ScopedMessageHook, RecordsTextsAnswersAndNests) {
    ScopedMessageHook outer(true);
    ShowMessage(QStringLiteral("传感器IP地址信息更新成功!"));
    EXPECT_TRUE(AskYesNo(QStringLiteral("q1")));
    {
        ScopedMessageHook inner(false);
        EXPECT_FALSE(AskYesNo(QStringLiteral("q2")));
        EXPECT_EQ(inner.AllTexts(), QStringList{QStringLiteral("q2")});
    }
    outer.SetAnswer(false);
    EXPECT_FALSE(AskYesNo(QStringLiteral("q3")));
    EXPECT_EQ(outer.Messages(), QStringList{QStringLiteral("传感器IP地址信息更新成功!")});
    EXPECT_EQ(outer.Questions(), (QStringList{QStringLiteral("q1"), QStringLiteral("q3")}));
    EXPECT_EQ(outer.AllTexts().size(), 3);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace orsan
