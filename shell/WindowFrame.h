#pragma once

class QWidget;

namespace orsan {

// Title bar of a dialog: title and close box only. Every dialog is fixed in
// size and modal, so minimising or maximising it would only hide it or show
// empty space.
void UseDialogFrame(QWidget* dialog);

// Title bar of the fixed-size main window: minimise and close, never
// maximise.
void UseFixedMainWindowFrame(QWidget* window);

}  // namespace orsan
