#pragma once

#include <string>
#include <string_view>

// How names and folders are told apart, the same on every platform, and what each platform's
// file reader does with folders.
namespace dictionary {

// Where a missing dictionary was looked for, and a file there that its user may have taken for
// it: "engl.voc.txt", as Notepad saves it and Explorer, hiding the ".txt", shows it.
struct Whereabouts {
    std::string folder;    // the full path, in UTF-8 as a file manager shows it; empty if unknown
    std::string nearMiss;  // that file's name, or empty
};

// What separates folders in a path: Windows takes either, and elsewhere a backslash in a name is
// rare enough to be read as one too, so that a path parts alike on every system.
inline constexpr std::string_view kSeparators = "/\\";

// The last part of `path`: the file's own name.
std::string_view nameIn(std::string_view path);

// Whether two names are one, ASCII case aside, as Windows compares names.
bool sameName(std::string_view name, std::string_view of);

// Whether `name` is `of` with a further extension, as Notepad saves "engl.voc.txt"; ASCII case
// aside.
bool isNearMiss(std::string_view name, std::string_view of);

// Makes `folder` (UTF-8) the current one; false where it cannot.
bool enterFolder(const std::string& folder);

// The full path of the folder of `path` (UTF-8), and the first file in it, by name, named
// `path`'s name and another extension.
Whereabouts lookAround(const std::string& path);

}  // namespace dictionary
