#include "Caption.h"

namespace win32 {

std::optional<design::Control> captionOf(design::Control control) {
    const design::ControlDesign& self = design::control(control);
    if (self.kind != design::Kind::Field && self.kind != design::Kind::Bar) {
        return std::nullopt;
    }
    for (auto i = static_cast<std::size_t>(control); i-- > 0;) {
        const design::ControlDesign& other = design::kControls[i];
        const bool over = other.at.left < self.at.left + self.at.width &&
                          self.at.left < other.at.left + other.at.width;
        if (other.kind == design::Kind::Caption && over) {
            return other.id;
        }
    }
    return std::nullopt;
}

}  // namespace win32
