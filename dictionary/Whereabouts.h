#pragma once

#include <string>
#include <string_view>

#include "ByteSource.h"

// How names and folders are told apart, the same on every platform, and what each platform's
// file reader does with folders.
namespace dictionary {

// What separates folders in a path: Windows takes either.
#ifdef _WIN32
inline constexpr std::string_view kSeparators = "/\\";
#else
inline constexpr std::string_view kSeparators = "/";
#endif

// The last part of `path`: the file's own name.
std::string_view nameIn(std::string_view path);

// Whether `name` is `of` with a further extension, as Notepad saves "engl.voc.txt"; ASCII case
// aside, as Windows compares names.
bool isNearMiss(std::string_view name, std::string_view of);

// Makes `folder` (UTF-8) the current one; false where it cannot.
bool enterFolder(const std::string& folder);

}  // namespace dictionary
