#include "ShortPath.h"

#include <algorithm>

namespace drill {
namespace {

std::size_t letters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

constexpr std::string_view kSeparators = "/\\";

}  // namespace

std::string shortPath(std::string_view path, std::size_t most) {
    const std::size_t first = path.find_first_of(kSeparators);
    std::size_t cut = path.find_last_of(kSeparators);
    if (letters(path) <= most || first == cut) {
        return std::string(path);
    }
    // The head, "C:\" or "/", stays; the tail grows by whole folders while it fits beside it.
    const std::string_view head = path.substr(0, first + 1);
    const std::size_t room = most - std::min(most, letters(head) + 1);
    for (std::size_t earlier = path.find_last_of(kSeparators, cut - 1);
         earlier > first && letters(path.substr(earlier)) <= room;
         earlier = path.find_last_of(kSeparators, earlier - 1)) {
        cut = earlier;
    }
    return std::string(head) + "…" + std::string(path.substr(cut));
}

}  // namespace drill
