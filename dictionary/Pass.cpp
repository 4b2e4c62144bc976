#include "Pass.h"

namespace dictionary::detail {

Read readFull(ByteSource& source, std::span<char> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const Read got = source.read(buffer.subspan(filled));
        if (got.status != OpenStatus::Ok) {
            return got;
        }
        if (got.count == 0) {
            break;
        }
        filled += got.count;
    }
    return {filled};
}

}  // namespace dictionary::detail
