#pragma once

#include <QString>
#include <QWidget>

#include "DialogUnits.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace orsan {

// The object name of the control with the given id, "id<N>": tests and the
// dialogs themselves find controls by it.
QString ControlName(int id);

// Builds the numbered controls of one dialog or page: every control is a
// child of the owner, placed in dialog units of the owner's font and, when
// it has an id, named ControlName(id). Buttons never act on Enter.
class DialogControls {
public:
    static constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

    explicit DialogControls(QWidget* owner);

    const DialogUnits& Units() const { return units_; }

    // Places an existing child; an id of 0 leaves its name alone.
    template <class Widget>
    Widget* Place(Widget* widget, int x, int y, int width, int height, int id = 0) const {
        PlaceWidget(widget, x, y, width, height, id);
        return widget;
    }

    QLabel* Label(const QString& text, int x, int y, int width, int height,
                  Qt::Alignment align = kLeft, int id = 0) const;
    QPushButton* Button(int id, const QString& caption, int x, int y, int width, int height) const;
    // A button with a 16x16 picture from the resources and a tool tip.
    QPushButton* IconButton(int id, const QString& caption, int iconId, const QString& tip, int x,
                            int y, int width, int height) const;
    QGroupBox* Group(const QString& title, int x, int y, int width, int height) const;

private:
    void PlaceWidget(QWidget* widget, int x, int y, int width, int height, int id) const;

    QWidget* owner_;
    DialogUnits units_;
};

}  // namespace orsan
