#include "EnterEscapeFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace orsan {

namespace {

// Sits on the application so it sees the key before the focused child does:
// a focused push button would otherwise "click" on Enter, and QDialog would
// reject on Escape.
class EnterEscapeFilter : public QObject {
public:
    EnterEscapeFilter(QWidget* window, bool escapeToo)
        : QObject(window), window_(window), escapeToo_(escapeToo) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease &&
            event->type() != QEvent::ShortcutOverride) {
            return false;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool consumed =
            key == Qt::Key_Return || key == Qt::Key_Enter || (escapeToo_ && key == Qt::Key_Escape);
        if (!consumed) return false;
        auto* target = qobject_cast<QWidget*>(watched);
        if (!target || !window_) return false;
        if (target != window_ && !window_->isAncestorOf(target)) return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // Claim the key so no shortcut fires; the key press then comes
            // through this filter again and is dropped.
            event->accept();
            return true;
        }
        return true;
    }

private:
    QPointer<QWidget> window_;
    bool escapeToo_;
};

}  // namespace

namespace {

void Install(QWidget* window, bool escapeToo) {
    if (!window || !QCoreApplication::instance()) return;
    QCoreApplication::instance()->installEventFilter(new EnterEscapeFilter(window, escapeToo));
}

}  // namespace

void ConsumeEnterEscape(QWidget* window) {
    Install(window, true);
}

void ConsumeEnter(QWidget* window) {
    Install(window, false);
}

}  // namespace orsan
