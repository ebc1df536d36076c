#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

namespace orsan {

// The fixed texts of one window or page: each control with its Chinese
// source text, shown in the current language now and again by Retranslate()
// (from the owner's RetranslateTexts()). The sources are marked where they
// are written with QT_TR_NOOP, so lupdate files them under the owner's class.
class FixedTexts {
public:
    enum class Part { Text, ChineseOnlyText, ToolTip, Placeholder };

    // Translations are looked up under the owner's class name.
    explicit FixedTexts(const QObject* owner);

    // The text of a label or button, or a group box's title; with number > 0
    // the source's %1 becomes that number.
    template <class Widget>
    Widget* Text(Widget* widget, const char* source, int number = 0) {
        Add(widget, source, Part::Text, number);
        return widget;
    }
    // A text and a tool tip; either may be null.
    template <class Widget>
    Widget* Set(Widget* widget, const char* text, const char* tip = nullptr) {
        if (text) Add(widget, text, Part::Text);
        if (tip) Add(widget, tip, Part::ToolTip);
        return widget;
    }
    // A word the Chinese layout needs and other languages read well without,
    // where their word would not fit (a unit after a count, "from" before a
    // range): shown only while no translation changes it.
    template <class Widget>
    Widget* SetChineseOnly(Widget* widget, const char* text) {
        Add(widget, text, Part::ChineseOnlyText);
        return widget;
    }
    void Add(QWidget* widget, const char* source, Part part, int number = 0);

    void Retranslate() const;
    QString Translate(const char* source) const;

private:
    struct Entry {
        QPointer<QWidget> widget;
        const char* source;
        Part part;
        int number;
    };
    void Apply(const Entry& entry) const;

    const char* context_;
    std::vector<Entry> entries_;
};

}  // namespace orsan
