#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Encoding.h"

namespace dictionary {

// The first N lines of the dictionary, their bytes kept once. Lines count from 1; line 0 and
// lines past N read as empty. A line splits at its first "$", or with no "$" at its first tab: the
// English part before it, the Russian part after it, further separators included; a line with
// neither is all English.
class Lines {
public:
    Lines() = default;
    Lines(std::string bytes, std::vector<std::uint64_t> ends, Encoding encoding);

    std::size_t count() const { return ends_.size(); }
    Encoding encoding() const { return encoding_; }

    std::string_view raw(std::size_t i) const;
    // Whether line i splits at a tab, as a spreadsheet's row, rather than at a "$".
    bool splitsAtTab(std::size_t i) const;
    std::string_view english(std::size_t i) const;
    std::string_view russian(std::size_t i) const;

private:
    std::string bytes_;
    std::vector<std::uint64_t> ends_;  // where the text of line i + 1 ends in bytes_
    Encoding encoding_ = Encoding::Windows1251;
};

// One of the two lists the drill keeps, a view of the shared lines: elements 0..N.
class WordList {
public:
    enum class Part { English, Russian };

    WordList() = default;
    WordList(std::shared_ptr<const Lines> lines, Part part)
        : lines_(std::move(lines)), part_(part) {}

    // Elements 0..N, or none before the lines are built.
    std::size_t size() const { return lines_ ? lines_->count() + 1 : 0; }
    std::string_view operator[](std::size_t i) const;
    // Element i as UTF-8 text for display (toUtf8), at most its first `maxBytes`; on a row split
    // at a tab, a cell that stands in quotes is a spreadsheet's quoted cell, shown unquoted.
    std::string text(std::size_t i, std::size_t maxBytes = std::string_view::npos) const;

private:
    std::shared_ptr<const Lines> lines_;
    Part part_ = Part::English;
};

}  // namespace dictionary
