#include <doctest/doctest.h>

#include "BandFit.h"
#include "Design.h"
#include "Letters.h"

namespace {

// A font whose every letter is as wide as its size in points, and whose line is half again as
// high: a band of 100 × 40 holds one line of 6 letters at the design's 15.75 points, two of 7 at
// 13.75, and three of 11 at 9.
const form::Measure kMeasure{
    [](std::string_view text, double points) {
        return static_cast<int>(static_cast<double>(dictionary::letters(text)) * points);
    },
    [](double points) { return static_cast<int>(points * 1.5); },
};

std::string fitted(std::string_view text) {
    const form::FittedText fit = form::fitToBand(text, 100, 40, kMeasure);
    return fit.text + " @" + std::to_string(fit.points).substr(0, 5);
}

}  // namespace

// Fitting a word to its band: the band's font while it fits, on as many lines as the band holds;
// then a point smaller at a time down to 9; there, what does not fit ends in "…".
TEST_CASE("fitting a word to its band") {
    CHECK(fitted("") == " @15.75");
    CHECK(fitted("house") == "house @15.75");
    CHECK(fitted("дом дом дом") == "дом дом\nдом @13.75");  // lines break at spaces
    CHECK(fitted("a bb ccc dddd") == "a bb ccc\ndddd @11.75");
    CHECK(fitted("abcdefghijklmnopq") == "abcdefghi\njklmnopq @10.75");  // and inside a long word
    CHECK(fitted("abcdefghij klmnopqrst uvwxyz abc de") ==
          "abcdefghij\nklmnopqrst\nuvwxyz abc… @9.000");
    CHECK(fitted(std::string(5000, 'w')) == "wwwwwwwwwww\nwwwwwwwwwww\nwwwwwwwwww… @9.000");
    // However wide the band, no more than 1,000 letters are laid out.
    CHECK(form::fitToBand(std::string(1500, 'a'), 1 << 30, 40, kMeasure).text.size() == 1000);
}
