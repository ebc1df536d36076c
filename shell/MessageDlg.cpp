#include "MessageDlg.h"

#include <QApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <cmath>
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
constexpr int kTextWidth = 131;
constexpr int kTextHeight = 28;
// How wide a long text may make the dialog, and the steps it widens in.
constexpr int kMostTextWidth = 300;
constexpr int kWidthStep = 20;

// Both dialogs share the frame: fixed size, the text box and the
// Enter/Escape filter. The dialog font is set before the controls measure it.
QPlainTextEdit* BuildFrame(QDialog* dialog, const DialogControls& controls) {
    dialog->setFixedSize(controls.Units().Size(kDialogWidth, kDialogHeight));
    UseDialogFrame(dialog);

    auto* box = controls.Place(new QPlainTextEdit(dialog), 2, 2, kTextWidth, kTextHeight,
                               MessageDlg::kTextId);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    ConsumeEnterEscape(dialog);
    return box;
}

// Pixels the box's text takes at a box width of `boxWidth`, wrapped as the
// box wraps it.
int TextHeight(const QPlainTextEdit* box, const QString& text, int boxWidth) {
    QTextDocument document;
    document.setDefaultFont(box->font());
    document.setDocumentMargin(box->document()->documentMargin());
    document.setDefaultTextOption(box->document()->defaultTextOption());
    document.setPlainText(text);
    document.setTextWidth(boxWidth - 2 * box->frameWidth());
    return int(std::ceil(document.size().height())) + 2 * box->frameWidth();
}

// The whole text in view without scrolling: a short text keeps the least
// size, a longer one widens the dialog first (a sentence reads better in
// long lines than in a thin column), then makes it taller. Only a text
// taller than most of the screen scrolls. The buttons keep their places
// relative to the box's bottom and, right of its middle, its right edge.
void FitToText(QDialog* dialog, QPlainTextEdit* box, const QString& text) {
    const DialogUnits units(dialog->font());
    const QSize least = units.Size(kTextWidth, kTextHeight);
    const QRect screen = (dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen())
                             ->availableGeometry();
    const int mostWidth = std::min(units.X(kMostTextWidth), screen.width() * 9 / 10);
    QSize wanted = least;
    for (int dlu = kTextWidth;; dlu = std::min(dlu + kWidthStep, kMostTextWidth)) {
        wanted.setWidth(std::min(units.X(dlu), mostWidth));
        if (dlu == kMostTextWidth || TextHeight(box, text, wanted.width()) <= least.height()) break;
    }
    // A line of slack: the box's own layout may round its lines differently.
    const int height = TextHeight(box, text, wanted.width()) + box->fontMetrics().lineSpacing() / 2;
    wanted.setHeight(std::clamp(height, least.height(), screen.height() * 2 / 3));

    const QSize grow = wanted - box->size();
    const int middle = box->geometry().center().x();
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        button->move(button->pos() +
                     QPoint(button->x() > middle ? grow.width() : 0, grow.height()));
    box->resize(wanted);
    dialog->setFixedSize(dialog->size() + grow);
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
    FitToText(this, textBox_, text);
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
    FitToText(this, textBox_, text);
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
