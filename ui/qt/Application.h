#pragma once

class QApplication;

namespace qt {

// What the whole program sets up once, before its window: the design's fonts, the window as
// screen readers should meet it, no idle wake-ups, and Qt's own texts in Russian.
void setUpApplication(QApplication& app);

}  // namespace qt
