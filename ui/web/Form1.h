#pragma once

namespace ui {

// The program's one window in a browser, drawn into the page's element "Form1". For now it draws
// nothing: the page, its build and its tests stand ready for it.
class Form1 {
public:
    Form1();
};

}  // namespace ui
