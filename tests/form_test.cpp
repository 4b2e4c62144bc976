#include <doctest/doctest.h>

#include "BandFit.h"
#include "Design.h"
#include "Letters.h"
#include "ShortPath.h"

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
    // However wide the band, no more than 1,000 letters are laid out, of one byte or two.
    std::string mixed;
    for (int i = 0; i < 750; ++i) {
        mixed += "дa";
    }
    CHECK(dictionary::letters(form::fitToBand(mixed, 1 << 30, 40, kMeasure).text) == 1000);
}

// A path too long for its message: its head, "…", and as many of its last folders as fit beside
// them, the last whole whatever its length. Its letters count, not its bytes.
TEST_CASE("shortening a path") {
    const std::string path = "C:\\Users\\Иван\\Документы\\Вокабунта";  // 33 letters, 55 bytes
    CHECK(form::shortPath(path, 33) == path);
    CHECK(form::shortPath(path, 28) == "C:\\…\\Документы\\Вокабунта");
    CHECK(form::shortPath(path, 3) == "C:\\…\\Вокабунта");
    CHECK(form::shortPath("/home/иван/Вокабунта", 5) == "/…/Вокабунта");
    CHECK(form::shortPath("Вокабунта", 5) == "Вокабунта");
}

// Twips to pixels to the nearest, a half up, as Windows rounds them: the client area's 3,585 twips
// are 298.75 pixels at 120 dpi, and 358.5 at 144.
TEST_CASE("twips to pixels") {
    CHECK(form::pixels(form::kClientArea.height, 120) == 299);
    CHECK(form::pixels(form::kClientArea.height, 144) == 359);
}
