#pragma once

#include <string>
#include <string_view>

namespace win32 {

// The design and the engine speak UTF-8; the W functions speak UTF-16.
std::wstring utf16(std::string_view utf8);
std::string utf8(std::wstring_view utf16);

}  // namespace win32
