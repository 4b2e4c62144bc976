#pragma once

#include <optional>
#include <string_view>

#include "Design.h"

namespace drill {

// What happens to the window or to one of its controls.
enum class Event {
    Activate,     // the window is shown
    Click,        // a button is clicked
    Change,       // a bar is moved, or a field's text changes (by typing, pasting, a screen reader)
    Timer,        // the moment the engine asked to be woken at has come
    AboutClosed,  // the About box is closed
    Unload,       // the user closes the window
};

// One input, as every window forwards it to the engine, which decides what it does.
struct Input {
    Event event;
    std::optional<form::Control> control{};  // none for the window's own events
    int value = 0;                           // a bar's new place
    std::string_view text{};                 // a field's new text, UTF-8
};

}  // namespace drill
