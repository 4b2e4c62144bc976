#include <algorithm>
#include <filesystem>

#include "ByteSource.h"

namespace dictionary {
namespace {

std::string utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// ASCII letters compared case-blind, as Windows compares names.
bool startsWithFolded(std::string_view text, std::string_view front) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return text.size() >= front.size() &&
           std::equal(front.begin(), front.end(), text.begin(),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

}  // namespace

Whereabouts lookAround(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    const std::filesystem::path folder = std::filesystem::absolute(file, error).parent_path();
    if (error) {
        return {};
    }
    Whereabouts where{utf8(folder), {}};
    const std::string prefix = utf8(file.filename()) + ".";
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = utf8(entry->path().filename());
        if (startsWithFolded(name, prefix) && name.size() > prefix.size() &&
            (where.nearMiss.empty() || name < where.nearMiss)) {
            where.nearMiss = name;
        }
    }
    return where;
}

}  // namespace dictionary
