#include "Whereabouts.h"

#include <algorithm>

namespace dictionary {

bool sameName(std::string_view name, std::string_view of) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return name.size() == of.size() &&
           std::equal(name.begin(), name.end(), of.begin(),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

bool isNearMiss(std::string_view name, std::string_view of) {
    return name.size() > of.size() + 1 && sameName(name.substr(0, of.size()), of) &&
           name[of.size()] == '.';
}

std::string_view nameIn(std::string_view path) {
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace dictionary
