#include "Lines.h"

namespace dictionary {

Lines::Lines(std::string bytes, std::vector<std::uint64_t> ends, Encoding encoding)
    : bytes_(std::move(bytes)), ends_(std::move(ends)), encoding_(encoding) {}

std::string_view Lines::raw(std::size_t i) const {
    if (i == 0 || i > ends_.size()) {
        return {};
    }
    std::size_t begin = 0;
    if (i > 1) {
        // Step over the previous line's end: CR LF, or a lone CR or LF.
        begin = ends_[i - 2];
        begin += bytes_.compare(begin, 2, "\r\n") == 0 ? 2 : 1;
    }
    return std::string_view(bytes_).substr(begin, ends_[i - 1] - begin);
}

namespace {

// Where a line splits: its first "$", or where it has none, its first tab, as word lists saved
// from a spreadsheet have them.
std::size_t separatorOf(std::string_view line) {
    const std::size_t dollar = line.find('$');
    return dollar != std::string_view::npos ? dollar : line.find('\t');
}

}  // namespace

bool Lines::splitsAtTab(std::size_t i) const {
    const std::string_view line = raw(i);
    const std::size_t separator = separatorOf(line);
    return separator != std::string_view::npos && line[separator] == '\t';
}

std::string_view Lines::english(std::size_t i) const {
    const std::string_view line = raw(i);
    return line.substr(0, separatorOf(line));
}

std::string_view Lines::russian(std::size_t i) const {
    const std::string_view line = raw(i);
    const std::size_t separator = separatorOf(line);
    return separator == std::string_view::npos ? std::string_view() : line.substr(separator + 1);
}

std::string_view WordList::operator[](std::size_t i) const {
    if (!lines_) {
        return {};
    }
    return part_ == Part::English ? lines_->english(i) : lines_->russian(i);
}

namespace {

// A row's cells as the spreadsheet held them. Excel and Calc save a cell that holds a quote or a
// tab in quotes, each quote in it doubled: "to say ""hi""" held to say "hi", and loses them here;
// any other text stays as it is, a quote that closes no cell among it. Read as far as `maxBytes`
// of text and a little past.
std::string spreadsheetCells(std::string_view part, std::size_t maxBytes) {
    constexpr auto kNone = std::string_view::npos;
    std::string text;
    for (std::size_t at = 0; text.size() <= maxBytes;) {
        // A quoted cell runs to the quote that is not doubled, and a tab or the end follows it.
        std::string cell;
        std::size_t close = at + 1;
        bool quoted = part.substr(at, 1) == "\"";
        for (; quoted && close < part.size() && cell.size() <= maxBytes; ++close) {
            if (part[close] == '"') {
                if (part.substr(close + 1, 1) != "\"") {
                    break;
                }
                ++close;  // a doubled quote stands for one
            }
            cell += part[close];
        }
        quoted =
            quoted && close < part.size() && (close + 1 == part.size() || part[close + 1] == '\t');
        const std::size_t tab = !quoted                   ? part.find('\t', at)
                                : close + 1 < part.size() ? close + 1
                                                          : kNone;
        text += quoted ? std::string_view(cell) : part.substr(at, tab == kNone ? kNone : tab - at);
        if (tab == kNone) {
            break;
        }
        text += '\t';
        at = tab + 1;
    }
    return text;
}

}  // namespace

std::string WordList::text(std::size_t i, std::size_t maxBytes) const {
    if (!lines_) {
        return {};
    }
    const std::string_view part = (*this)[i];
    if (lines_->splitsAtTab(i)) {
        return toUtf8(spreadsheetCells(part, maxBytes), lines_->encoding(), maxBytes);
    }
    return toUtf8(part, lines_->encoding(), maxBytes);
}

}  // namespace dictionary
