#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dictionary {

enum class Encoding {
    Windows1251,
    Utf8,
};

// Decodes dictionary bytes to UTF-8; a byte the encoding does not define, or a byte that starts
// no valid UTF-8 sequence, becomes U+FFFD. Only the first `maxBytes` are decoded, never cutting
// a character.
std::string toUtf8(std::string_view bytes, Encoding encoding,
                   std::size_t maxBytes = std::string_view::npos);

// Tells, chunk by chunk, whether a byte stream is UTF-8 text: non-ASCII letters in valid UTF-8
// (no overlong forms, no surrogates, nothing past U+10FFFF), with at most a stray byte here and
// there. Windows-1251 text is nearly all invalid UTF-8, so it is never taken for it.
class Utf8Detector {
public:
    void feed(std::string_view chunk);
    // True when it held a valid non-ASCII sequence and fewer than one byte in a hundred such
    // sequences that starts none.
    bool finish();
    // Whether the verdict is settled as "not UTF-8" whatever `bytesLeft` more bytes hold: a
    // letter begun may yet end, and each further letter takes two bytes at least.
    bool cannotBeUtf8(std::uint64_t bytesLeft) const {
        return invalid_ * 100 >= valid_ + (pending_ > 0) + bytesLeft / 2;
    }

private:
    std::uint64_t valid_ = 0;    // whole non-ASCII sequences
    std::uint64_t invalid_ = 0;  // bytes that start no valid sequence
    int pending_ = 0;            // continuation bytes still expected
    unsigned char low_ = 0x80;   // the range the next continuation byte must fall in
    unsigned char high_ = 0xBF;
};

}  // namespace dictionary
