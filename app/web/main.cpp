#include "Form1.h"

// The window stays when main returns: the page's script keeps the program alive, and the
// browser's own loop hands it each event and timer.
int main() {
    static ui::Form1 window;
}
