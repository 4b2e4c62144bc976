#include "Pass.h"

namespace dictionary::detail {

std::optional<std::size_t> readFull(ByteSource& source, std::span<char> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const std::optional<std::size_t> got = source.read(buffer.subspan(filled));
        if (!got) {
            return std::nullopt;
        }
        if (*got == 0) {
            break;
        }
        filled += *got;
    }
    return filled;
}

}  // namespace dictionary::detail
