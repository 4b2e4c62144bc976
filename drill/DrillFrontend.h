#pragma once

#include <optional>
#include <string_view>

#include "Clock.h"
#include "Design.h"

namespace drill {

// What the card cycle tells the window, control by control; the window only shows it. What the
// engine writes is not input: a window passes none of it back, as neither a bar's move nor a
// field's change.
class DrillFrontend {
public:
    virtual ~DrillFrontend() = default;
    // A band's word or message (the window fits it, form::fitToBand), or a field's number; UTF-8,
    // and empty clears it.
    virtual void showText(form::Control control, std::string_view text) = 0;
    virtual void setBar(form::Control bar, int minimum, int maximum, int value) = 0;
    virtual void enable(form::Control control, bool enabled) = 0;
    // Call advance() at `due`, and not before; nothing is due while it is empty.
    virtual void wakeAt(std::optional<TimePoint> due) = 0;
    // The About box (form::kAbout), modal: returns when the user has closed it.
    virtual void showAbout() = 0;
};

}  // namespace drill
