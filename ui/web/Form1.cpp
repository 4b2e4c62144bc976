#include "Form1.h"

namespace ui {

Form1::Form1() = default;

}  // namespace ui
