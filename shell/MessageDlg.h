#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>

class QPlainTextEdit;
class QPushButton;

namespace orsan {

// The station's own notice dialog: a read-only wrapped text and "OK".
// Enter and Escape do nothing; it closes through "OK" (accepted) or the
// close box (rejected). It is sized to its text: the least size for a short
// one, wider and then taller for a long one, so no sentence is scrolled away.
class MessageDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTextId = 1055;

    explicit MessageDlg(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const { return text_; }

    QPlainTextEdit* TextBox() const { return textBox_; }
    QPushButton* OkButton() const { return okButton_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();

    QString text_;
    QPlainTextEdit* textBox_;
    QPushButton* okButton_;
};

// The station's yes/no question: "是" accepts, "否" and the close box reject.
class YesnoMsgDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTextId = 1055;
    static constexpr int kYesId = 1071;
    static constexpr int kNoId = 2;

    explicit YesnoMsgDlg(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const { return text_; }

    QPlainTextEdit* TextBox() const { return textBox_; }
    QPushButton* YesButton() const { return yesButton_; }
    QPushButton* NoButton() const { return noButton_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();

    QString text_ = QStringLiteral("-");
    QPlainTextEdit* textBox_;
    QPushButton* yesButton_;
    QPushButton* noButton_;
};

// Shows `text` in a modal MessageDlg and returns when it is closed.
// Without a widget application (headless runs) the text goes to stderr.
void ShowMessage(const QString& text);

// Asks `text` in a modal YesnoMsgDlg; true only when "是" was pressed.
// Without a widget application the answer is false (nothing was confirmed).
bool AskYesNo(const QString& text);

// Shows `text` in a modal standard message box owned by `owner`, with the
// given icon, OK only and the application's name as its caption. Without a
// widget application the text goes to stderr.
void ShowNotice(QWidget* owner, QMessageBox::Icon icon, const QString& text);

}  // namespace orsan
