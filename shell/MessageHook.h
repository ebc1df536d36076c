#pragma once

#include <QString>
#include <QStringList>

namespace orsan {

// While alive, ShowMessage and AskYesNo open no dialog: they record their
// text here and AskYesNo returns the chosen answer. Lets code that reports
// through those dialogs run in tests without a modal loop. Hooks nest; the
// newest one answers. UI thread only.
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
    void Clear();

    // Used by ShowMessage/AskYesNo: the active hook or nullptr.
    static ScopedMessageHook* Active();
    void RecordMessage(const QString& text);
    bool RecordQuestion(const QString& text);

private:
    bool answer_;
    QStringList messages_;
    QStringList questions_;
    QStringList all_;
    ScopedMessageHook* previous_;
};

}  // namespace orsan
