#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace dictionary {

// Finds where lines end in a byte stream fed chunk by chunk. CR LF, a lone LF and a lone CR each
// end a line; a Ctrl-Z as the very last byte is an old end-of-file mark, not text.
class LineSplitter {
public:
    // Calls onLineEnd(offset) with the stream offset just past each line's text; stops early
    // and returns false once onLineEnd returns false.
    template <class OnLineEnd>
    bool feed(std::string_view chunk, OnLineEnd&& onLineEnd) {
        const char* const base = chunk.data();
        const char* p = base;
        const char* const end = base + chunk.size();
        if (afterCr_ && p < end && *p == '\n') {
            ++p;  // the LF of a CR LF split between chunks
            lineStart_ = offset_ + 1;
        }
        afterCr_ = false;
        // The next CR and the next LF, each searched for again only once passed.
        const char* cr = find(p, end, '\r');
        const char* lf = find(p, end, '\n');
        while (p < end) {
            if (cr < p) {
                cr = find(p, end, '\r');
            }
            if (lf < p) {
                lf = find(p, end, '\n');
            }
            const char* hit = std::min(cr, lf);
            if (hit == end) {
                break;
            }
            const std::uint64_t at = offset_ + static_cast<std::uint64_t>(hit - base);
            const char* next = hit + 1;
            if (*hit == '\r') {
                if (next == end) {
                    afterCr_ = true;
                } else if (*next == '\n') {
                    ++next;
                }
            }
            lineStart_ = offset_ + static_cast<std::uint64_t>(next - base);
            if (!onLineEnd(at)) {
                return false;
            }
            p = next;
        }
        if (!chunk.empty()) {
            lastByte_ = chunk.back();
        }
        offset_ += chunk.size();
        return true;
    }

    // As feed(), for a pass that needs only how many lines end: counts them in bulk.
    std::uint64_t count(std::string_view chunk) {
        const auto* p = reinterpret_cast<const unsigned char*>(chunk.data());
        const std::size_t n = chunk.size();
        std::size_t start = 0;
        if (afterCr_ && n > 0 && p[0] == '\n') {
            start = 1;  // the LF of a CR LF split between chunks
        }
        // A CR at the very end counts now, and the next chunk skips an LF it starts with.
        std::uint64_t ends = 0;
        if (n > start) {
            ends = (kWordwise ? endsWordwise(p, start, n - 1) : endsBytewise(p, start, n - 1)) +
                   (p[n - 1] == '\n' || p[n - 1] == '\r');
        }
        if (n > 0) {
            const std::size_t last = chunk.find_last_of("\r\n");
            if (last != std::string_view::npos && last >= start) {
                lineStart_ = offset_ + last + 1;
            } else if (start == 1) {
                lineStart_ = offset_ + 1;
            }
            afterCr_ = p[n - 1] == '\r';
            lastByte_ = chunk.back();
        }
        offset_ += n;
        return ends;
    }

    // After the last chunk: where the text of an unterminated last line ends, if there is one.
    bool lastLineEnd(std::uint64_t& end) const {
        end = textEnd();
        return end > lineStart_;
    }

    // The stream offset where text ends once a final Ctrl-Z is dropped.
    std::uint64_t textEnd() const { return offset_ - (offset_ > 0 && lastByte_ == '\x1A'); }

    // How many lines end in [p + from, p + to): at every LF, and at every CR that no LF follows
    // (p[to] is looked at too). Byte by byte, which the compiler turns into vector
    // instructions, and eight bytes at once in plain integer steps, for builds without them.
    static std::uint64_t endsBytewise(const unsigned char* p, std::size_t from, std::size_t to) {
        std::uint64_t ends = 0;
        while (from < to) {
            const std::size_t blockEnd = std::min(to, from + 255);
            std::uint8_t inBlock = 0;  // byte-wide sums over short blocks vectorise
            for (; from < blockEnd; ++from) {
                inBlock += (p[from] == '\n') | ((p[from] == '\r') & (p[from + 1] != '\n'));
            }
            ends += inBlock;
        }
        return ends;
    }
    static std::uint64_t endsWordwise(const unsigned char* p, std::size_t from, std::size_t to) {
        std::uint64_t ends = 0;
        while (from + 8 <= to) {
            std::uint64_t inBlock = 0;  // a sum per byte, of at most 255 words
            for (int word = 0; word < 255 && from + 8 <= to; ++word, from += 8) {
                const std::uint64_t here = load(p + from), after = load(p + from + 1);
                inBlock += (equal(here, '\n') | (equal(here, '\r') & ~equal(after, '\n'))) >> 7;
            }
            inBlock = (inBlock & 0x00FF00FF00FF00FF) + ((inBlock >> 8) & 0x00FF00FF00FF00FF);
            ends += (inBlock * 0x0001000100010001) >> 48;
        }
        return ends + endsBytewise(p, from, to);
    }

private:
#if defined(__wasm__) && !defined(__wasm_simd128__)
    static constexpr bool kWordwise = true;
#else
    static constexpr bool kWordwise = false;
#endif

    static std::uint64_t load(const unsigned char* p) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        return word;
    }
    // The top bit of each byte of `word` that is `c`, and nothing else.
    static std::uint64_t equal(std::uint64_t word, unsigned char c) {
        constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
        const std::uint64_t x = word ^ (0x0101010101010101 * c);
        return ~(((x & kLow7) + kLow7) | x | kLow7);
    }

    // The first `c` in [p, end), or end.
    static const char* find(const char* p, const char* end, char c) {
        const void* hit = std::memchr(p, c, static_cast<std::size_t>(end - p));
        return hit == nullptr ? end : static_cast<const char*>(hit);
    }

    std::uint64_t offset_ = 0;     // bytes fed so far
    std::uint64_t lineStart_ = 0;  // where the current line begins
    bool afterCr_ = false;
    char lastByte_ = 0;
};

}  // namespace dictionary
