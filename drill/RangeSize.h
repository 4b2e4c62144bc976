#pragma once

#include <cstdint>
#include <string_view>

namespace drill {

// The range size that the range field's text asks for, made usable: the whole of `maximum` for
// an empty text or one that is no number, the whole part of a fraction, and never below 1 or
// above `maximum`.
std::int64_t rangeSizeFromText(std::string_view text, std::int64_t maximum);

}  // namespace drill
