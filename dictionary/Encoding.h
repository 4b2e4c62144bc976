#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dictionary {

enum class Encoding {
    Windows1251,
    Utf8,
};

// Decodes dictionary bytes to UTF-8 text that a window can draw as it stands: a byte the
// encoding does not define becomes U+FFFD, and so does each broken UTF-8 sequence, once, however
// many of its bytes are there (Unicode's "maximal subpart"); a tab shows as a space, and any other
// control character, a NUL among them, as U+FFFD. Only the first `maxBytes` are decoded, never
// cutting a character.
std::string toUtf8(std::string_view bytes, Encoding encoding,
                   std::size_t maxBytes = std::string_view::npos);

// A unit of UTF-16 text as the system's calls take it: for Windows' W functions, a wchar_t.
#ifdef _WIN32
using Utf16Unit = wchar_t;
#else
using Utf16Unit = char16_t;
#endif

// Text between UTF-8, which the program speaks, and UTF-16: each broken UTF-8 sequence, and each
// surrogate without its other half, becomes one U+FFFD, so that no text is lost.
std::basic_string<Utf16Unit> utf16(std::string_view utf8);
std::string utf8(std::basic_string_view<Utf16Unit> utf16);

// Turns UTF-16 fed chunk by chunk into UTF-8, so that the rest of the reader sees UTF-8 text: a
// unit or a surrogate pair may straddle a chunk end; a lone surrogate, or an odd last byte,
// becomes U+FFFD. Line ends (CR, LF, each a unit) come out as the same bytes.
class Utf16Decoder {
public:
    explicit Utf16Decoder(bool bigEndian) : bigEndian_(bigEndian) {}
    void feed(std::string_view bytes, std::string& out);
    // After the last chunk: what is left over shows as U+FFFD.
    void finish(std::string& out);

private:
    bool bigEndian_;
    int oddByte_ = -1;       // the first byte of a unit whose second is still to come
    char16_t highHalf_ = 0;  // a high surrogate whose low one is still to come
};

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
