#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace dictionary {

// Whether the byte `c` of UTF-8 text starts a letter (a code point) rather than goes on with one.
constexpr bool startsLetter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

// How many letters UTF-8 text holds.
inline std::size_t letters(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), startsLetter));
}

}  // namespace dictionary
