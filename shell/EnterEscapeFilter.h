#pragma once

class QWidget;

namespace orsan {

// Makes Enter, Return and Escape do nothing anywhere inside `window` (the
// window itself and every widget it contains, now or later): they neither
// close it nor press a button. The filter is owned by `window`.
void ConsumeEnterEscape(QWidget* window);

}  // namespace orsan
