#include "RangeSize.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace drill {

std::int64_t rangeSizeFromText(std::string_view text, std::int64_t maximum) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');  // a Russian decimal comma
    if (!number.empty() && number.front() == '+') {
        number.erase(0, 1);
    }
    double value = 0;
    const char* const end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    const bool isNumber = !number.empty() && stop == end &&
                          (error == std::errc() || error == std::errc::result_out_of_range);
    if (!isNumber || std::isnan(value)) {
        return std::max<std::int64_t>(maximum, 1);
    }
    if (error == std::errc::result_out_of_range) {
        // Too large in size, or too close to zero, as a negative exponent makes it.
        const std::size_t exponent = number.find_first_of("eE");
        const bool tiny = exponent != std::string::npos && exponent + 1 < number.size() &&
                          number[exponent + 1] == '-';
        value = tiny ? 0.0 : number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    const double whole = std::trunc(value);
    if (whole < 1) {
        return 1;
    }
    if (whole >= static_cast<double>(maximum)) {
        return std::max<std::int64_t>(maximum, 1);
    }
    return static_cast<std::int64_t>(whole);
}

}  // namespace drill
