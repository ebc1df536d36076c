#pragma once

#include <QString>
#include <vector>

class QWidget;

namespace orsan::test {

// A text wider (or, wrapped, taller) than the control that shows it.
struct Misfit {
    QString control;  // class, object name and the names of its parents
    QString text;
    int needed = 0;  // pixels the text needs
    int room = 0;    // pixels the control gives it
};

// Every visible label, button, check box, radio button, group title, combo
// box item, empty edit's hint, tab caption and table header under root whose
// text does not fit.
std::vector<Misfit> FindMisfits(const QWidget* root);

}  // namespace orsan::test
