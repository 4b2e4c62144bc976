#include "Caption.h"

namespace win32 {

std::optional<form::Control> captionOf(form::Control control) {
    const form::ControlDesign& self = form::control(control);
    if (self.kind != form::Kind::Field && self.kind != form::Kind::Bar) {
        return std::nullopt;
    }
    for (auto i = static_cast<std::size_t>(control); i-- > 0;) {
        const form::ControlDesign& other = form::kControls[i];
        const bool over = other.at.left < self.at.left + self.at.width &&
                          self.at.left < other.at.left + other.at.width;
        if (other.kind == form::Kind::Caption && over) {
            return other.id;
        }
    }
    return std::nullopt;
}

}  // namespace win32
