#pragma once

#include <string_view>

#include "ui/design/Design.h"

namespace win32 {

// What a screen reader calls a control. A label or a button is called by its own text; a field
// or a bar, which has none, by the caption that stands over it: the nearest one before it in
// creation order whose span overlaps its own.
std::string_view accessibleName(design::Control control);

}  // namespace win32
