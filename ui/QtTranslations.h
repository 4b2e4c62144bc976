#pragma once

class QCoreApplication;

namespace ui {

// Loads Qt's own Russian texts (standard buttons, context menus), whatever the system's
// locale: the window speaks Russian by design. False where they are not installed.
bool installQtRussian(QCoreApplication& app);

}  // namespace ui
