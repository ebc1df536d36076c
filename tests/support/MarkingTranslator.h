#pragma once

#include <QCoreApplication>
#include <QStringList>
#include <QTranslator>

namespace orsan::test {

// Answers every text with "EN[source]", so a test sees which texts went
// through the translation and that a window follows a switch at run time.
class MarkingTranslator : public QTranslator {
public:
    QString translate(const char*, const char* source, const char* = nullptr,
                      int = -1) const override {
        return QStringLiteral("EN[%1]").arg(QString::fromUtf8(source));
    }
    bool isEmpty() const override { return false; }
};

// What `shown` reads while the marking translation is loaded; it is removed
// again before this returns, and both switches reach the windows first.
template <class Shown>
QStringList ShownWhileMarked(Shown shown) {
    MarkingTranslator marking;
    QCoreApplication::installTranslator(&marking);
    QCoreApplication::processEvents();
    const QStringList marked = shown();
    QCoreApplication::removeTranslator(&marking);
    QCoreApplication::processEvents();
    return marked;
}

}  // namespace orsan::test
