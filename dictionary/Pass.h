#pragma once

#include <string_view>
#include <vector>

#include "ByteSource.h"

namespace dictionary {

// One pass over the dictionary: opens it, hands its bytes over chunk by chunk with a leading
// UTF-8 byte-order mark removed, and closes it. onChunk returns false to stop early.
struct PassResult {
    OpenStatus status = OpenStatus::Ok;
    bool byteOrderMark = false;
};

// `sizeHint`, where given, receives the input's expected size before the first chunk.
template <class OnChunk>
PassResult readPass(const SourceOpener& open, OnChunk&& onChunk, std::uint64_t* sizeHint = nullptr);

namespace detail {
constexpr std::size_t kChunkSize = 1 << 16;
// What a pass reads in: kChunkSize, unless the fuzzer makes it small so that line ends and
// letters fall across chunk ends. At least the byte-order mark's length, so that it is seen.
inline std::size_t chunkSize = kChunkSize;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Reads until `buffer` is full or the input ends; nullopt on a read error.
std::optional<std::size_t> readFull(ByteSource& source, std::span<char> buffer);
}  // namespace detail

template <class OnChunk>
PassResult readPass(const SourceOpener& open, OnChunk&& onChunk, std::uint64_t* sizeHint) {
    OpenedSource opened = open();
    if (opened.status != OpenStatus::Ok) {
        return {opened.status, false};
    }
    if (sizeHint != nullptr) {
        *sizeHint = opened.source->sizeHint();
    }
    PassResult result;
    std::vector<char> buffer(detail::chunkSize);
    for (bool first = true;; first = false) {
        const std::optional<std::size_t> got = detail::readFull(*opened.source, buffer);
        if (!got) {
            result.status = OpenStatus::ReadError;
            return result;
        }
        std::string_view chunk(buffer.data(), *got);
        if (first && chunk.starts_with(detail::kByteOrderMark)) {
            result.byteOrderMark = true;
            chunk.remove_prefix(detail::kByteOrderMark.size());
        }
        if (*got == 0 || !onChunk(chunk) || *got < buffer.size()) {
            return result;
        }
    }
}

}  // namespace dictionary
