#include "Count.h"

#include <cstring>

#include "LineSplitter.h"
#include "Pass.h"

namespace dictionary {

CountResult countEntries(const SourceOpener& open, std::size_t chunkSize) {
    CountResult result;
    LineSplitter lines;
    Utf8Detector utf8;
    PassInput input;
    std::uint64_t read = 0;
    bool settled = false;
    const OpenStatus status = readPass(
        open,
        [&](std::string_view chunk) {
            result.entries += static_cast<std::int64_t>(lines.count(chunk));
            result.hasSeparator = result.hasSeparator ||
                                  std::memchr(chunk.data(), '$', chunk.size()) != nullptr ||
                                  std::memchr(chunk.data(), '\t', chunk.size()) != nullptr;
            read += chunk.size();
            // A byte-order mark settles the encoding, and a Windows-1251 file shows what it is
            // within its first few hundred letters; the rest need not be checked, unless the
            // file has grown past its size when opened.
            if (!settled) {
                utf8.feed(chunk);
                settled =
                    input.marked || (read <= input.size && utf8.cannotBeUtf8(input.size - read));
            }
            return true;
        },
        &input, chunkSize);
    if (status != OpenStatus::Ok) {
        return {status, 0, false, Encoding::Windows1251, std::move(input.where)};
    }
    std::uint64_t lastEnd = 0;
    if (lines.lastLineEnd(lastEnd)) {
        ++result.entries;
    }
    result.encoding = input.marked || utf8.finish() ? Encoding::Utf8 : Encoding::Windows1251;
    return result;
}

}  // namespace dictionary
