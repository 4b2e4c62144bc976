#include "Encoding.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "Letters.h"

namespace dictionary {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
static_assert(sizeof(Utf16Unit) == 2);

// Windows-1251 from 0x80 on; 0x98 is not defined.
constexpr std::array<char16_t, 128> kWindows1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0: А to я follow in order
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  //
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  //
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  //
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  //
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  //
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  //
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  //
};

// What a UTF-8 lead byte asks of the bytes after it: how many follow, and the range the first of
// them must fall in (the rest are always 80..BF). The ranges shut out overlong forms (C0, C1,
// E0 80..9F, F0 80..8F), surrogates (ED A0..BF) and code points past U+10FFFF (F4 90.., F5..).
struct Lead {
    int following = -1;  // -1: not a lead byte
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};

constexpr Lead leadOf(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) {
        return {1};
    }
    if (b == 0xE0) {
        return {2, 0xA0};
    }
    if (b == 0xED) {
        return {2, 0x80, 0x9F};
    }
    if (b >= 0xE1 && b <= 0xEF) {
        return {2};
    }
    if (b == 0xF0) {
        return {3, 0x90};
    }
    if (b == 0xF4) {
        return {3, 0x80, 0x8F};
    }
    if (b >= 0xF1 && b <= 0xF3) {
        return {3};
    }
    return {};
}

// The UTF-8 sequence at the front of `bytes`: a valid one, or else the longest front of one that
// could have begun a valid one (at least its first byte), which shows as one U+FFFD.
struct Sequence {
    std::size_t length;
    bool valid;
};

Sequence sequenceAt(std::string_view bytes) {
    const auto b = static_cast<unsigned char>(bytes[0]);
    if (b < 0x80) {
        return {1, true};
    }
    const Lead lead = leadOf(b);
    if (lead.following < 0) {
        return {1, false};
    }
    for (std::size_t i = 1; i <= static_cast<std::size_t>(lead.following); ++i) {
        if (i == bytes.size()) {
            return {i, false};
        }
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < (i == 1 ? lead.low : 0x80) || c > (i == 1 ? lead.high : 0xBF)) {
            return {i, false};
        }
    }
    return {static_cast<std::size_t>(lead.following) + 1, true};
}

// Writes `c` as UTF-8 at `out`; returns where it ends.
char* put(char* out, char32_t c) {
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

void appendUtf8(std::string& out, char32_t c) {
    char bytes[4];
    out.append(bytes, static_cast<std::size_t>(put(bytes, c) - bytes));
}

// A tab as a space, and every other control character (C0, DEL, C1) as U+FFFD: what no window
// draws as it stands, and what one would draw as a box or stop at.
void makeDrawable(std::string& text) {
    const auto control = [](unsigned char c) { return c < 0x20 || c == 0x7F; };
    const auto c1 = [&text](std::size_t i) {  // C2 80..9F: U+0080..U+009F
        return static_cast<unsigned char>(text[i]) == 0xC2 && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) < 0xA0;
    };
    std::size_t i = 0;
    while (i < text.size() && !control(static_cast<unsigned char>(text[i])) && !c1(i)) {
        ++i;
    }
    if (i == text.size()) {
        return;
    }
    std::string out(text, 0, i);
    for (; i < text.size(); ++i) {
        if (text[i] == '\t') {
            out += ' ';
        } else if (control(static_cast<unsigned char>(text[i])) || c1(i)) {
            appendUtf8(out, kReplacement);
            i += c1(i);
        } else {
            out += text[i];
        }
    }
    text = std::move(out);
}

// Writes a UTF-16 unit at `out` as UTF-8; a high surrogate waits in `highHalf` for its low one.
// Returns where it ends.
char* putUnit(char16_t unit, char16_t& highHalf, char* out) {
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (highHalf != 0) {
        const char16_t first = std::exchange(highHalf, 0);
        if (low) {
            return put(out, 0x10000 + ((char32_t{first} - 0xD800) << 10) + (unit - 0xDC00));
        }
        out = put(out, kReplacement);
    }
    if (high) {
        highHalf = unit;
        return out;
    }
    return put(out, low ? kReplacement : unit);
}

// The longest front of `bytes` within `maxBytes` that does not cut a UTF-8 character.
std::string_view wholeLettersWithin(std::string_view bytes, std::size_t maxBytes,
                                    Encoding encoding) {
    if (bytes.size() <= maxBytes) {
        return bytes;
    }
    std::size_t end = maxBytes;
    for (int back = 0;
         encoding == Encoding::Utf8 && back < 3 && end > 0 && !startsLetter(bytes[end]); ++back) {
        --end;
    }
    return bytes.substr(0, end);
}

// The first byte at or after `from` that is not ASCII, or the end.
std::size_t nextNonAscii(std::string_view bytes, std::size_t from) {
    // Eight bytes a step: a word with no high bit set is all ASCII.
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    while (from + 8 <= bytes.size()) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + from, sizeof word);
        if ((word & kHighBits) != 0) {
            break;
        }
        from += 8;
    }
    while (from < bytes.size() && static_cast<unsigned char>(bytes[from]) < 0x80) {
        ++from;
    }
    return from;
}

}  // namespace

std::string toUtf8(std::string_view bytes, Encoding encoding, std::size_t maxBytes) {
    bytes = wholeLettersWithin(bytes, maxBytes, encoding);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t ascii = nextNonAscii(bytes, at);
        out.append(bytes.substr(at, ascii - at));
        at = ascii;
        if (at == bytes.size()) {
            break;
        }
        if (encoding == Encoding::Windows1251) {
            appendUtf8(out, kWindows1251[static_cast<unsigned char>(bytes[at]) - 0x80]);
            ++at;
            continue;
        }
        const Sequence sequence = sequenceAt(bytes.substr(at));
        if (sequence.valid) {
            out.append(bytes.substr(at, sequence.length));
        } else {
            appendUtf8(out, kReplacement);
        }
        at += sequence.length;
    }
    makeDrawable(out);
    return out;
}

std::basic_string<Utf16Unit> utf16(std::string_view utf8) {
    std::basic_string<Utf16Unit> units;
    units.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const Sequence sequence = sequenceAt(utf8.substr(at));
        char32_t c = kReplacement;
        if (sequence.valid) {
            // The lead byte's bits below its length mark, then six from each byte after it.
            constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
            c = static_cast<unsigned char>(utf8[at]) & kLeadBits[sequence.length];
            for (std::size_t i = 1; i < sequence.length; ++i) {
                c = c << 6 | (static_cast<unsigned char>(utf8[at + i]) & 0x3F);
            }
        }
        if (c >= 0x10000) {
            units += static_cast<Utf16Unit>(0xD800 + ((c - 0x10000) >> 10));
            units += static_cast<Utf16Unit>(0xDC00 + (c & 0x3FF));
        } else {
            units += static_cast<Utf16Unit>(c);
        }
        at += sequence.length;
    }
    return units;
}

std::string utf8(std::basic_string_view<Utf16Unit> utf16) {
    // Three bytes a unit at most, as many for a pair, and a U+FFFD for a high half left at the end.
    std::string text(utf16.size() * 3 + 3, '\0');
    char* out = text.data();
    char16_t highHalf = 0;
    for (const Utf16Unit unit : utf16) {
        out = putUnit(static_cast<char16_t>(unit), highHalf, out);
    }
    if (highHalf != 0) {
        out = put(out, kReplacement);
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
    return text;
}

void Utf16Decoder::feed(std::string_view bytes, std::string& out) {
    // Written through a pointer into room made first: a unit gives three bytes at most, a pair
    // four, and a high half left from the last chunk a U+FFFD of three.
    const std::size_t begin = out.size();
    out.resize(begin + (bytes.size() + 1) / 2 * 3 + 3);
    char* o = out.data() + begin;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    const int high = bigEndian_ ? 0 : 1;  // where a unit's high byte stands
    if (oddByte_ >= 0 && p < end) {
        const unsigned char pair[2] = {static_cast<unsigned char>(oddByte_), *p++};
        o = putUnit(static_cast<char16_t>(pair[high] << 8 | pair[1 - high]), highHalf_, o);
        oddByte_ = -1;
    }
    // Four ASCII units a step, the bulk of a word list: high bytes 0, low bytes below 0x80.
    constexpr std::uint64_t kNotAscii[2] = {0x80FF80FF80FF80FFu, 0xFF80FF80FF80FF80u};
    while (end - p >= 2) {
        if constexpr (std::endian::native == std::endian::little) {
            std::uint64_t four = 1;
            if (end - p >= 8 && highHalf_ == 0) {
                std::memcpy(&four, p, 8);
                four &= kNotAscii[high];
            }
            if (four == 0) {
                for (int i = 0; i < 4; ++i) {
                    o[i] = static_cast<char>(p[2 * i + 1 - high]);
                }
                o += 4;
                p += 8;
                continue;
            }
        }
        o = putUnit(static_cast<char16_t>(p[high] << 8 | p[1 - high]), highHalf_, o);
        p += 2;
    }
    if (p < end) {
        oddByte_ = *p;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

void Utf16Decoder::finish(std::string& out) {
    if (highHalf_ != 0) {
        appendUtf8(out, kReplacement);
    }
    if (oddByte_ >= 0) {
        appendUtf8(out, kReplacement);
    }
    highHalf_ = 0;
    oddByte_ = -1;
}

void Utf8Detector::feed(std::string_view chunk) {
    std::size_t at = 0;
    while (at < chunk.size()) {
        if (pending_ == 0) {
            at = nextNonAscii(chunk, at);
            if (at == chunk.size()) {
                break;
            }
            const Lead lead = leadOf(static_cast<unsigned char>(chunk[at++]));
            if (lead.following < 0) {
                ++invalid_;
                continue;
            }
            pending_ = lead.following;
            low_ = lead.low;
            high_ = lead.high;
            continue;
        }
        const auto c = static_cast<unsigned char>(chunk[at]);
        if (c < low_ || c > high_) {
            // The sequence breaks off; this byte is looked at again as a start of its own.
            ++invalid_;
            pending_ = 0;
            continue;
        }
        ++at;
        low_ = 0x80;
        high_ = 0xBF;
        if (--pending_ == 0) {
            ++valid_;
        }
    }
}

bool Utf8Detector::finish() {
    if (pending_ > 0) {
        ++invalid_;  // cut short by the end of the file
        pending_ = 0;
    }
    return valid_ > 0 && invalid_ * 100 < valid_;
}

}  // namespace dictionary
