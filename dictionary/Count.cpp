#include "Count.h"

#include <cstring>

#include "LineSplitter.h"
#include "Pass.h"

namespace dictionary {

CountResult countEntries(const SourceOpener& open) {
    CountResult result;
    LineSplitter lines;
    Utf8Detector utf8;
    const PassResult pass = readPass(open, [&](std::string_view chunk) {
        result.entries += static_cast<std::int64_t>(lines.count(chunk));
        result.hasSeparator = result.hasSeparator ||
                              std::memchr(chunk.data(), '$', chunk.size()) != nullptr ||
                              std::memchr(chunk.data(), '\t', chunk.size()) != nullptr;
        utf8.feed(chunk);
        return true;
    });
    if (pass.status != OpenStatus::Ok) {
        return {pass.status, 0, false, Encoding::Windows1251};
    }
    std::uint64_t lastEnd = 0;
    if (lines.lastLineEnd(lastEnd)) {
        ++result.entries;
    }
    result.encoding = pass.byteOrderMark || utf8.finish() ? Encoding::Utf8 : Encoding::Windows1251;
    return result;
}

}  // namespace dictionary
