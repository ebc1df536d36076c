#pragma once

class QWidget;

namespace orsan {

// Makes Enter, Return and Escape do nothing anywhere inside `window` (the
// window itself and every widget it contains, now or later): they neither
// close it nor press a button. The filter is owned by `window`.
void ConsumeEnterEscape(QWidget* window);
// The same for Enter and Return alone: Escape reaches the window, so a
// dialog of its own closes on it.
void ConsumeEnter(QWidget* window);

}  // namespace orsan
