#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTranslator>

#include "QtPrinters.h"

namespace orsan {

// A translator that marks every text it is asked for ("«source»"), so a test
// sees which shown texts went through the translation: installed for its
// lifetime, and the widgets get their LanguageChange before it returns.
class MarkingTranslator : public QTranslator {
public:
    MarkingTranslator() {
        QCoreApplication::installTranslator(this);
        QApplication::processEvents();
    }
    ~MarkingTranslator() override {
        QCoreApplication::removeTranslator(this);
        QApplication::processEvents();
    }
    QString translate(const char*, const char* source, const char*, int) const override {
        return QStringLiteral("«%1»").arg(QString::fromUtf8(source));
    }
    bool isEmpty() const override { return false; }
};

// What `shown` reads while the marking translation is loaded; it is removed
// again before this returns, and both switches reach the windows first.
template <class Shown>
QStringList ShownWhileMarked(Shown shown) {
    const MarkingTranslator marking;
    return shown();
}

// Every text a widget and its children show: captions, labels, titles, drop-down
// items, tool tips and column titles.
inline QStringList ShownTexts(const QWidget* root) {
    QStringList texts{root->windowTitle(), root->toolTip()};
    for (const QWidget* w : root->findChildren<QWidget*>()) {
        texts << w->toolTip();
        if (auto* label = qobject_cast<const QLabel*>(w)) texts << label->text();
        if (auto* button = qobject_cast<const QAbstractButton*>(w)) texts << button->text();
        if (auto* group = qobject_cast<const QGroupBox*>(w)) texts << group->title();
        if (auto* combo = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
        if (auto* table = qobject_cast<const QTableWidget*>(w))
            for (int c = 0; c < table->columnCount(); ++c)
                texts << table->horizontalHeaderItem(c)->text();
    }
    return texts;
}

// The shown texts with Chinese outside a translator's marks (which nest
// where a translated name fills a translated message).
inline QStringList UnmarkedChinese(const QStringList& texts) {
    static const QRegularExpression innermost(QStringLiteral("«[^«»]*»"));
    static const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    QStringList unmarked;
    for (const QString& text : texts) {
        QString rest = text;
        for (qsizetype before = -1; before != rest.size();) {
            before = rest.size();
            rest.remove(innermost);
        }
        if (rest.contains(chinese)) unmarked << text;
    }
    return unmarked;
}

}  // namespace orsan
