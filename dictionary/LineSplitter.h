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
        // A line ends at every LF and at every CR that no LF follows; a CR at the very end
        // counts now, and the next chunk skips an LF it starts with. Byte-wide sums over short
        // blocks let the compiler vectorise the loop.
        std::uint64_t ends = 0;
        std::size_t i = start;
        while (i + 1 < n) {
            const std::size_t blockEnd = std::min(n - 1, i + 255);
            std::uint8_t inBlock = 0;
            for (; i < blockEnd; ++i) {
                inBlock += (p[i] == '\n') | ((p[i] == '\r') & (p[i + 1] != '\n'));
            }
            ends += inBlock;
        }
        if (n > start) {
            ends += p[n - 1] == '\n' || p[n - 1] == '\r';
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

private:
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
