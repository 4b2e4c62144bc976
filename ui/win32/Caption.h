#pragma once

#include <optional>

#include "Design.h"

namespace win32 {

// The caption that names a field or a bar, which have no text a screen reader could call them by:
// the nearest one before it in creation order whose span overlaps its own. None for the others.
std::optional<form::Control> captionOf(form::Control control);

}  // namespace win32
