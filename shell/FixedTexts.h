#pragma once

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <vector>

namespace orsan {

// The fixed texts of one dialog or page, kept by their source (Chinese)
// texts so that the owner's RetranslateTexts can set them again in the
// language now installed. Sources are marked with QT_TR_NOOP in the owner's
// member functions (or QT_TRANSLATE_NOOP with the owner's class name), so
// they translate in the owner's own context.
class FixedTexts {
public:
    explicit FixedTexts(const QObject* owner) : owner_(owner) {}

    // A label's text, a button's caption or a group's title, and a tool tip;
    // either may be null. Set at once and again at every Apply.
    template <class Widget>
    Widget* Set(Widget* widget, const char* text, const char* tip = nullptr) {
        entries_.push_back({widget, text, tip, false});
        ApplyOne(entries_.back());
        return widget;
    }

    // A word the Chinese layout needs and other languages read well without,
    // where their word would not fit (a unit after a count, "from" before a
    // range): shown only while no translation changes it.
    template <class Widget>
    Widget* SetChineseOnly(Widget* widget, const char* text) {
        entries_.push_back({widget, text, nullptr, true});
        ApplyOne(entries_.back());
        return widget;
    }

    void Apply() const {
        for (const Entry& entry : entries_) ApplyOne(entry);
    }

    QString Translate(const char* source) const {
        return QCoreApplication::translate(owner_->metaObject()->className(), source);
    }

private:
    struct Entry {
        QWidget* widget;
        const char* text;
        const char* tip;
        bool chineseOnly;
    };

    void ApplyOne(const Entry& entry) const {
        if (entry.text) {
            QString text = Translate(entry.text);
            if (entry.chineseOnly && text != QString::fromUtf8(entry.text)) text.clear();
            if (auto* label = qobject_cast<QLabel*>(entry.widget)) label->setText(text);
            if (auto* button = qobject_cast<QAbstractButton*>(entry.widget)) button->setText(text);
            if (auto* group = qobject_cast<QGroupBox*>(entry.widget)) group->setTitle(text);
        }
        if (entry.tip) entry.widget->setToolTip(Translate(entry.tip));
    }

    const QObject* owner_;
    std::vector<Entry> entries_;
};

}  // namespace orsan
