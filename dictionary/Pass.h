#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Encoding.h"
#include "SourceOpener.h"

namespace dictionary {

// One pass over the dictionary: opens it, hands its bytes over chunk by chunk, and closes it.
// A byte-order mark settles the encoding: a UTF-8 one is dropped; after a UTF-16 one (FF FE,
// little-endian, or FE FF, big-endian) the text is handed over as UTF-8, so that line ends,
// separators and letters look the same to every pass. onChunk returns false to stop early.
struct PassInput {
    std::uint64_t size = 0;  // the size the text is expected to have, or 0 where it cannot tell
    bool marked = false;     // it starts with a byte-order mark: UTF-8 text follows
    Whereabouts where;       // where it was looked for, when it is missing
};

// What a pass reads at a time, unless the fuzzer makes it small so that line ends and letters
// fall across chunk ends; at least a byte-order mark's length, so that one is seen whole.
constexpr std::size_t kChunkSize = 1 << 16;

// `input`, where given, is filled in before the first chunk, or when opening fails.
template <class OnChunk>
OpenStatus readPass(const SourceOpener& open, OnChunk&& onChunk, PassInput* input = nullptr,
                    std::size_t chunkSize = kChunkSize);

namespace detail {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Little = "\xFF\xFE";
constexpr std::string_view kUtf16Big = "\xFE\xFF";
// 6 % for later lines that decode longer; under the eighth of slack the load copies to give back.
constexpr double kSizeSpare = 1.06;

// Reads until `buffer` is full or the input ends.
Read readFull(ByteSource& source, std::span<char> buffer);
}  // namespace detail

template <class OnChunk>
OpenStatus readPass(const SourceOpener& open, OnChunk&& onChunk, PassInput* input,
                    std::size_t chunkSize) {
    OpenedSource opened = open();
    if (opened.status != OpenStatus::Ok) {
        if (input != nullptr) {
            input->where = std::move(opened.where);
        }
        return opened.status;
    }
    std::vector<char> buffer(chunkSize);
    std::optional<Utf16Decoder> utf16;
    std::string decoded;
    for (bool first = true;; first = false) {
        const Read got = detail::readFull(*opened.source, buffer);
        if (got.status != OpenStatus::Ok) {
            return got.status;
        }
        std::string_view chunk(buffer.data(), got.count);
        if (first) {
            bool marked = false;
            for (const std::string_view mark :
                 {detail::kByteOrderMark, detail::kUtf16Little, detail::kUtf16Big}) {
                if (!marked && chunk.starts_with(mark)) {
                    chunk.remove_prefix(mark.size());
                    if (mark != detail::kByteOrderMark) {
                        utf16.emplace(mark == detail::kUtf16Big);
                    }
                    marked = true;
                }
            }
            if (input != nullptr) {
                *input = {opened.source->sizeHint(), marked, {}};
            }
        }
        const bool end = got.count < buffer.size();
        if (utf16) {
            decoded.clear();
            utf16->feed(chunk, decoded);
            if (end) {
                utf16->finish(decoded);
            }
            if (first && input != nullptr && !chunk.empty()) {
                // The text's size as the first chunk foretells it, with a little to spare.
                input->size = static_cast<std::uint64_t>(
                    static_cast<double>(input->size) * static_cast<double>(decoded.size()) /
                    static_cast<double>(chunk.size()) * detail::kSizeSpare);
            }
            chunk = decoded;
        }
        if ((!chunk.empty() && !onChunk(chunk)) || end) {
            return OpenStatus::Ok;
        }
    }
}

}  // namespace dictionary
