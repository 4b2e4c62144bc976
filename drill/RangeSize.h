#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace drill {

// What the range field holds of whatever arrives in it, typed, pasted or set by a screen reader:
// its digits, and nothing else. A number copied from elsewhere comes grouped, so "1 234",
// "1,234" and "1.234" all hold 1234.
std::string rangeDigits(std::string_view text);

// The range size that the field's digits ask for, made usable: the whole of `maximum` when there
// are none, and never below 1 or above `maximum`.
std::int64_t rangeSizeFromDigits(std::string_view digits, std::int64_t maximum);

}  // namespace drill
