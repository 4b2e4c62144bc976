#pragma once

#include <optional>
#include <string_view>

#include "Clock.h"
#include "Design.h"

namespace drill {

// What the engine tells the window, control by control; the window only shows it. What the
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
    // Forward Event::Timer at `due`, and not before; nothing is due while it is empty.
    virtual void wakeAt(std::optional<TimePoint> due) = 0;
    // Shows the About box (form::kAbout) and forwards Event::AboutClosed once the user has closed
    // it: before this returns, where the box is modal, or later, where it is not.
    virtual void showAbout() = 0;
    // The window goes, and with it the program.
    virtual void end() = 0;
};

}  // namespace drill
