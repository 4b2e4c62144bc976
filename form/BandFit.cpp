#include "BandFit.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "Design.h"
#include "Letters.h"

namespace form {
namespace {

using dictionary::startsLetter;

constexpr double kSmallestPoints = 9.0;
constexpr std::size_t kMostLetters = 1000;  // more than two lines of the smallest size hold
constexpr std::string_view kEllipsis = "…";

// Where each letter of `text` begins, and its end.
std::vector<std::size_t> letterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (startsLetter(text[at])) {
            starts.push_back(at);
        }
    }
    starts.push_back(text.size());
    return starts;
}

// The last of `ends` (increasing) for which fits(end) holds, the widths growing with the end;
// none where not even the first does.
template <class Fits>
std::optional<std::size_t> lastFitting(const std::vector<std::size_t>& ends, Fits fits) {
    std::size_t low = 0, high = ends.size();  // fits holds below low, fails from high on
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (fits(ends[middle])) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low == 0 ? std::nullopt : std::optional(ends[low - 1]);
}

// Where a line breaks at spaces, they go; blanks anywhere else are shown as written.
std::string_view withoutTrailing(std::string_view text) {
    return text.substr(0, text.find_last_not_of(' ') + 1);
}
std::string_view withoutLeading(std::string_view text) {
    return text.substr(std::min(text.find_first_not_of(' '), text.size()));
}

// The lines `text` takes at `points` in `width`, as many as `most`; `rest` is what is left.
std::vector<std::string_view> lines(std::string_view text, double points, int width,
                                    std::size_t most, const Measure& measure,
                                    std::string_view& rest) {
    const auto fits = [&](std::string_view line) { return measure.width(line, points) <= width; };
    std::vector<std::string_view> laid;
    rest = text;
    while (!rest.empty() && laid.size() < most) {
        if (fits(rest)) {
            laid.push_back(rest);
            rest = {};
            break;
        }
        // The most whole words that fit; a word longer than the line, as many letters as fit,
        // one at least.
        std::vector<std::size_t> spaces;
        for (std::size_t at = rest.find(' '); at != std::string_view::npos;
             at = rest.find(' ', at + 1)) {
            spaces.push_back(at);
        }
        std::optional<std::size_t> end = lastFitting(
            spaces, [&](std::size_t at) { return fits(withoutTrailing(rest.substr(0, at))); });
        if (!end || withoutTrailing(rest.substr(0, *end)).empty()) {
            const std::vector<std::size_t> letters = letterStarts(rest);
            end = lastFitting(std::vector(letters.begin() + 1, letters.end()), [&](std::size_t at) {
                      return fits(rest.substr(0, at));
                  }).value_or(letters[1]);
        }
        laid.push_back(withoutTrailing(rest.substr(0, *end)));
        rest = withoutLeading(rest.substr(*end));
    }
    return laid;
}

std::string joined(const std::vector<std::string_view>& laid) {
    std::string text;
    for (const std::string_view line : laid) {
        text.append(text.empty() ? "" : "\n").append(line);
    }
    return text;
}

}  // namespace

FittedText fitToBand(std::string_view text, int width, int height, const Measure& measure) {
    std::size_t letters = 0, end = 0;
    while (end < text.size() && (letters += startsLetter(text[end])) <= kMostLetters) {
        ++end;
    }
    text = text.substr(0, end);
    if (text.empty()) {
        return {{}, kBandFont.points};
    }
    std::string_view rest;
    for (double points = kBandFont.points;; points = std::max(points - 1, kSmallestPoints)) {
        const auto most =
            static_cast<std::size_t>(std::max(1, height / std::max(1, measure.lineHeight(points))));
        std::vector<std::string_view> laid = lines(text, points, width, most, measure, rest);
        if (rest.empty()) {
            return {joined(laid), points};
        }
        if (points > kSmallestPoints) {
            continue;
        }
        // The last line holds what fits of all that is left, then "…".
        const std::string_view left(laid.back().data(),
                                    text.data() + text.size() - laid.back().data());
        const std::vector<std::size_t> ends = letterStarts(left);
        const std::size_t end =
            lastFitting(ends, [&](std::size_t at) {
                return measure.width(std::string(withoutTrailing(left.substr(0, at))) +
                                         std::string(kEllipsis),
                                     points) <= width;
            }).value_or(0);
        std::string last =
            std::string(withoutTrailing(left.substr(0, end))) + std::string(kEllipsis);
        laid.pop_back();
        std::string all = joined(laid);
        return {all.append(all.empty() ? "" : "\n").append(last), points};
    }
}

}  // namespace form
