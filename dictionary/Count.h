#pragma once

#include <cstdint>

#include "Encoding.h"
#include "Pass.h"
#include "SourceOpener.h"

namespace dictionary {

// What the counting pass learns about the whole file.
struct CountResult {
    OpenStatus status = OpenStatus::Ok;
    std::int64_t entries = 0;   // every line is an entry
    bool hasSeparator = false;  // some line holds a "$" or a tab
    Encoding encoding = Encoding::Windows1251;
    Whereabouts where;  // where it was looked for, when it is missing
};

CountResult countEntries(const SourceOpener& open, std::size_t chunkSize = kChunkSize);

}  // namespace dictionary
