#include "FixedTexts.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace orsan {

FixedTexts::FixedTexts(const QObject* owner) : context_(owner->metaObject()->className()) {}

void FixedTexts::Add(QWidget* widget, const char* source, Part part, int number) {
    entries_.push_back({widget, source, part, number});
    Apply(entries_.back());
}

void FixedTexts::Retranslate() const {
    for (const Entry& entry : entries_) Apply(entry);
}

QString FixedTexts::Translate(const char* source) const {
    return QCoreApplication::translate(context_, source);
}

void FixedTexts::Apply(const Entry& entry) const {
    QWidget* widget = entry.widget;
    if (!widget) return;
    QString text = Translate(entry.source);
    if (entry.number > 0) text = text.arg(entry.number);
    switch (entry.part) {
        case Part::ChineseOnlyText:
            if (text != QString::fromUtf8(entry.source)) text.clear();
            break;
        case Part::ToolTip:
            widget->setToolTip(text);
            return;
        case Part::Placeholder:
            if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setPlaceholderText(text);
            return;
        case Part::Text:
            break;
    }
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(text);
}

}  // namespace orsan
