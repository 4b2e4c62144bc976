#include "RangeSize.h"

#include <algorithm>
#include <charconv>

namespace drill {

std::string rangeDigits(std::string_view text) {
    std::string digits;
    std::copy_if(text.begin(), text.end(), std::back_inserter(digits),
                 [](char c) { return c >= '0' && c <= '9'; });
    return digits;
}

std::int64_t rangeSizeFromDigits(std::string_view digits, std::int64_t maximum) {
    const std::int64_t all = std::max<std::int64_t>(maximum, 1);
    std::int64_t value = 0;
    const auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error == std::errc::result_out_of_range) {
        return all;  // nothing asked for, or more than any dictionary holds
    }
    return std::clamp<std::int64_t>(value, 1, all);
}

}  // namespace drill
