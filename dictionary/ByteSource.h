#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "OpenStatus.h"

namespace dictionary {

// What one read gives: the count of bytes put in the buffer (0 at the end), or why none could be.
struct Read {
    std::size_t count = 0;
    OpenStatus status = OpenStatus::Ok;
};

// One opened input, read front to back by a single pass and closed when destroyed.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills the front of `buffer`.
    virtual Read read(std::span<char> buffer) = 0;
    // The size the input expects to have, or 0 where it cannot tell.
    virtual std::uint64_t sizeHint() const = 0;
};

}  // namespace dictionary
