#include "MessageDlg.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextOption>
#include <cstdio>

#include "DialogUnits.h"
#include "EnterEscapeFilter.h"
#include "MessageHook.h"
#include "WindowFrame.h"

namespace orsan {

namespace {

constexpr int kDialogWidth = 135;
constexpr int kDialogHeight = 47;

// Both dialogs share the frame: fixed size, dialog font, the text box and
// the Enter/Escape filter.
QPlainTextEdit* BuildFrame(QDialog* dialog, const QString& title, const DialogUnits& units) {
    dialog->setWindowTitle(title);
    dialog->setFont(DialogFont());
    dialog->setFixedSize(units.Size(kDialogWidth, kDialogHeight));
    UseDialogFrame(dialog);

    auto* box = new QPlainTextEdit(dialog);
    box->setObjectName(QStringLiteral("id1055"));
    box->setGeometry(units.Rect(2, 2, 131, 28));
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    ConsumeEnterEscape(dialog);
    return box;
}

QPushButton* AddButton(QDialog* dialog, const QString& caption, int id, const QRect& rect) {
    auto* button = new QPushButton(caption, dialog);
    button->setObjectName(QStringLiteral("id%1").arg(id));
    button->setGeometry(rect);
    // Only a click presses a button; Enter on a focused button must not.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

bool HaveWidgetApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

}  // namespace

MessageDlg::MessageDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units;
    textBox_ = BuildFrame(this, QStringLiteral("消息提示"), units);
    okButton_ = AddButton(this, QStringLiteral("OK"), 1, units.Rect(103, 33, 30, 12));
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

void MessageDlg::SetText(const QString& text) {
    text_ = text;
    textBox_->setPlainText(text);
}

YesnoMsgDlg::YesnoMsgDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units;
    textBox_ = BuildFrame(this, QStringLiteral("消息确认提示！"), units);
    textBox_->setPlainText(text_);
    yesButton_ = AddButton(this, QStringLiteral("是"), kYesId, units.Rect(2, 33, 25, 12));
    noButton_ = AddButton(this, QStringLiteral("否"), kNoId, units.Rect(108, 33, 25, 12));
    connect(yesButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(noButton_, &QPushButton::clicked, this, &QDialog::reject);
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
    if (!HaveWidgetApplication()) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return;
    }
    MessageDlg dialog;
    dialog.SetText(text);
    dialog.exec();
}

bool AskYesNo(const QString& text) {
    if (ScopedMessageHook* hook = ScopedMessageHook::Active()) return hook->RecordQuestion(text);
    if (!HaveWidgetApplication()) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return false;
    }
    YesnoMsgDlg dialog;
    dialog.SetText(text);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace orsan
