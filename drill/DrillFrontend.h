#pragma once

#include <optional>
#include <string_view>

#include "Clock.h"
#include "Design.h"

namespace drill {

// What the card cycle tells the window, control by control; the window only shows it.
class DrillFrontend {
public:
    virtual ~DrillFrontend() = default;
    // A band's word or message, or a field's number; UTF-8, and empty clears it.
    virtual void showText(form::Control control, std::string_view text) = 0;
    virtual void setBar(form::Control bar, int minimum, int maximum, int value) = 0;
    virtual void enable(form::Control control, bool enabled) = 0;
    // Call advance() at `due`, and not before; nothing is due while it is empty.
    virtual void wakeAt(std::optional<TimePoint> due) = 0;
};

}  // namespace drill
