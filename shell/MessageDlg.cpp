#include "MessageDlg.h"

#include <QApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextOption>
#include <cstdio>

#include "DesktopShell.h"
#include "DialogControls.h"
#include "EnterEscapeFilter.h"
#include "MessageHook.h"
#include "WindowFrame.h"

namespace orsan {

namespace {

constexpr int kDialogWidth = 135;
constexpr int kDialogHeight = 47;

// Both dialogs share the frame: fixed size, the text box and the
// Enter/Escape filter. The dialog font is set before the controls measure it.
QPlainTextEdit* BuildFrame(QDialog* dialog, const DialogControls& controls) {
    dialog->setFixedSize(controls.Units().Size(kDialogWidth, kDialogHeight));
    UseDialogFrame(dialog);

    auto* box = controls.Place(new QPlainTextEdit(dialog), 2, 2, 131, 28, MessageDlg::kTextId);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    ConsumeEnterEscape(dialog);
    return box;
}

// Headless runs have no dialogs: the text goes to stderr instead.
bool PrintedWithoutWidgets(const QString& text) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return true;
}

}  // namespace

MessageDlg::MessageDlg(QWidget* parent) : QDialog(parent) {
    setFont(DialogFont());
    const DialogControls controls(this);
    textBox_ = BuildFrame(this, controls);
    okButton_ = controls.Button(1, QStringLiteral("OK"), 103, 33, 30, 12);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    RetranslateTexts();
}

void MessageDlg::RetranslateTexts() {
    setWindowTitle(tr("消息提示"));
}

void MessageDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QDialog::changeEvent(event);
}

void MessageDlg::SetText(const QString& text) {
    text_ = text;
    textBox_->setPlainText(text);
}

YesnoMsgDlg::YesnoMsgDlg(QWidget* parent) : QDialog(parent) {
    setFont(DialogFont());
    const DialogControls controls(this);
    textBox_ = BuildFrame(this, controls);
    textBox_->setPlainText(text_);
    yesButton_ = controls.Button(kYesId, QString(), 2, 33, 25, 12);
    noButton_ = controls.Button(kNoId, QString(), 108, 33, 25, 12);
    connect(yesButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(noButton_, &QPushButton::clicked, this, &QDialog::reject);
    RetranslateTexts();
}

void YesnoMsgDlg::RetranslateTexts() {
    setWindowTitle(tr("消息确认提示！"));
    yesButton_->setText(tr("是"));
    noButton_->setText(tr("否"));
}

void YesnoMsgDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QDialog::changeEvent(event);
}

void YesnoMsgDlg::SetText(const QString& text) {
    text_ = text;
    textBox_->setPlainText(text);
}

void ShowMessage(const QString& text) {
    if (ScopedMessageHook* hook = ScopedMessageHook::Active()) {
        hook->RecordMessage(text);
        return;
    }
    if (PrintedWithoutWidgets(text)) return;
    MessageDlg dialog;
    dialog.SetText(text);
    dialog.exec();
}

bool AskYesNo(const QString& text) {
    if (ScopedMessageHook* hook = ScopedMessageHook::Active()) return hook->RecordQuestion(text);
    if (PrintedWithoutWidgets(text)) return false;
    YesnoMsgDlg dialog;
    dialog.SetText(text);
    return dialog.exec() == QDialog::Accepted;
}

void ShowNotice(QWidget* owner, QMessageBox::Icon icon, const QString& text) {
    const QString caption = ApplicationName();
    if (ScopedMessageHook* hook = ScopedMessageHook::Active()) {
        hook->RecordNotice({owner, icon, caption, text});
        return;
    }
    if (PrintedWithoutWidgets(text)) return;
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace orsan
