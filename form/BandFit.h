#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace form {

// How a window measures text in its band's font at a size in points, in its own pixels: the width
// of one line of it, and the height a line takes.
struct Measure {
    std::function<int(std::string_view utf8, double points)> width;
    std::function<int(double points)> lineHeight;
};

struct FittedText {
    std::string text;  // UTF-8, its lines apart by "\n"; drawn centred, as they stand
    double points;     // the font size to draw it at
};

// Fits a word or a message into a band of `width` × `height` pixels. The band's own font if it
// fits there, else one point smaller at a time down to 9 points; lines break at spaces, and inside
// a word too long for a line; at 9 points what does not fit ends in "…". Only the first 1,000
// letters are ever laid out.
FittedText fitToBand(std::string_view text, int width, int height, const Measure& measure);

}  // namespace form
