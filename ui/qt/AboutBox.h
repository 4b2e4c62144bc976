#pragma once

class QWidget;

namespace ui {

// Shows the program's information box and returns when it is closed.
void showAbout(QWidget* parent);

}  // namespace ui
