#include "Whereabouts.h"

#include <algorithm>

namespace dictionary {
namespace {

constexpr std::string_view kDictionaryName = "engl.voc";

// ASCII letters compared case-blind, as Windows compares names.
bool startsWithFolded(std::string_view text, std::string_view front) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return text.size() >= front.size() &&
           std::equal(front.begin(), front.end(), text.begin(),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

}  // namespace

bool isNearMiss(std::string_view name, std::string_view of) {
    return name.size() > of.size() + 1 && startsWithFolded(name, of) && name[of.size()] == '.';
}

std::string_view nameIn(std::string_view path) {
    const std::size_t separator = path.find_last_of(kSeparators);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

SourceOpener openerFor(const std::string& path) {
    const std::string name(nameIn(path));
    if (name.size() != kDictionaryName.size() || !startsWithFolded(name, kDictionaryName)) {
        return [name] { return OpenedSource{OpenStatus::NotDictionary, nullptr, {{}, name}}; };
    }
    const std::string folder = path.substr(0, path.size() - name.size());
    if (!folder.empty() && !enterFolder(folder)) {
        return [where = lookAround(path)] {
            return OpenedSource{OpenStatus::Missing, nullptr, where};
        };
    }
    return fileOpener(name);
}

}  // namespace dictionary
