#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace orsan {

// One ShowNotice call: a standard message box with OK only.
struct HookedNotice {
    QWidget* owner;
    QMessageBox::Icon icon;
    QString caption;
    QString text;
};

// While alive, ShowMessage, AskYesNo and ShowNotice open no dialog: they
// record their text here and AskYesNo returns the chosen answer. Lets code
// that reports through those dialogs run in tests without a modal loop.
// Hooks nest; the newest one answers. UI thread only.
class ScopedMessageHook {
public:
    explicit ScopedMessageHook(bool answer = false);
    ~ScopedMessageHook();
    ScopedMessageHook(const ScopedMessageHook&) = delete;
    ScopedMessageHook& operator=(const ScopedMessageHook&) = delete;

    void SetAnswer(bool answer) { answer_ = answer; }

    // Texts passed to ShowMessage, in order.
    const QStringList& Messages() const { return messages_; }
    // Texts passed to AskYesNo, in order.
    const QStringList& Questions() const { return questions_; }
    // Both, in the order they were shown.
    const QStringList& AllTexts() const { return all_; }
    // Calls of ShowNotice, in order.
    const std::vector<HookedNotice>& Notices() const { return notices_; }
    QString LastNoticeText() const { return notices_.empty() ? QString() : notices_.back().text; }
    void Clear();

    // Used by ShowMessage/AskYesNo/ShowNotice: the active hook or nullptr.
    static ScopedMessageHook* Active();
    void RecordMessage(const QString& text);
    bool RecordQuestion(const QString& text);
    void RecordNotice(const HookedNotice& notice);

private:
    bool answer_;
    QStringList messages_;
    QStringList questions_;
    QStringList all_;
    std::vector<HookedNotice> notices_;
    ScopedMessageHook* previous_;
};

}  // namespace orsan
