#include "Load.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "LineSplitter.h"

namespace dictionary {
namespace {

// Asked for up front at most: a huge file's first lines need not claim a 32-bit process's 2 GiB.
constexpr std::uint64_t kMaxReserve = std::uint64_t{1} << 28;

template <class Container>
void shrinkIfWasteful(Container& container) {
    if (container.capacity() - container.size() > container.size() / 8 + 4096) {
        container.shrink_to_fit();
    }
}

LoadResult load(const SourceOpener& open, std::int64_t n, Encoding encoding,
                std::size_t chunkSize) {
    const auto wanted = static_cast<std::uint64_t>(n);
    std::string bytes;
    std::vector<std::uint64_t> ends;
    LineSplitter splitter;
    PassInput input;
    const OpenStatus status = readPass(
        open,
        [&](std::string_view chunk) {
            if (bytes.empty()) {
                // One allocation each for the usual case; a file that grew still fits. A file
                // of s bytes holds at most s + 1 lines.
                bytes.reserve(static_cast<std::size_t>(std::min(input.size, kMaxReserve)));
                ends.reserve(static_cast<std::size_t>(
                    std::min({wanted, input.size + 1, kMaxReserve / sizeof(std::uint64_t)})));
            }
            bytes.append(chunk);
            return splitter.feed(chunk, [&](std::uint64_t end) {
                ends.push_back(end);
                return ends.size() < wanted;
            });
        },
        &input, chunkSize);
    if (status != OpenStatus::Ok) {
        return {status, Lines(), std::move(input.where)};
    }
    std::uint64_t lastEnd = 0;
    if (ends.size() < wanted && splitter.lastLineEnd(lastEnd)) {
        ends.push_back(lastEnd);
    }
    bytes.resize(ends.empty() ? 0 : static_cast<std::size_t>(ends.back()));
    // Give back what lines past n took, but do not copy the whole file for a few bytes.
    shrinkIfWasteful(bytes);
    shrinkIfWasteful(ends);
    return {OpenStatus::Ok, Lines(std::move(bytes), std::move(ends), encoding), {}};
}

}  // namespace

LoadResult loadEntries(const SourceOpener& open, std::int64_t n, Encoding encoding,
                       std::size_t chunkSize) {
    if (n <= 0) {
        return {OpenStatus::Ok, Lines({}, {}, encoding), {}};
    }
    try {
        return load(open, n, encoding, chunkSize);
    } catch (const std::bad_alloc&) {
        // A file of many gigabytes: say so, and let a smaller range try again.
        return {OpenStatus::OutOfMemory, Lines(), {}};
    }
}

}  // namespace dictionary
