#include "WindowFrame.h"

#include <QWidget>

namespace orsan {

namespace {

// CustomizeWindowHint makes the window manager show only the buttons named.
constexpr Qt::WindowFlags kTitleAndClose = Qt::Dialog | Qt::CustomizeWindowHint |
                                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                           Qt::WindowCloseButtonHint;

}  // namespace

void UseDialogFrame(QWidget* dialog) {
    dialog->setWindowFlags(kTitleAndClose);
}

void UseFixedMainWindowFrame(QWidget* window) {
    window->setWindowFlags(kTitleAndClose | Qt::WindowMinimizeButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
}

}  // namespace orsan
