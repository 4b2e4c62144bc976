#include "AccessibleName.h"

namespace win32 {

std::string_view accessibleName(design::Control control) {
    const design::ControlDesign& self = design::control(control);
    if (self.kind != design::Kind::Field && self.kind != design::Kind::Bar) {
        return self.text;
    }
    for (auto i = static_cast<std::size_t>(control); i-- > 0;) {
        const design::ControlDesign& other = design::kControls[i];
        const bool over = other.at.left < self.at.left + self.at.width &&
                          self.at.left < other.at.left + other.at.width;
        if (other.kind == design::Kind::Caption && over) {
            return other.text;
        }
    }
    return self.description;
}

}  // namespace win32
