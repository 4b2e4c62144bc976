#pragma once

#include <cstdint>

#include "Encoding.h"
#include "Lines.h"
#include "OpenStatus.h"
#include "Pass.h"
#include "SourceOpener.h"
#include "Whereabouts.h"

namespace dictionary {

struct LoadResult {
    OpenStatus status = OpenStatus::Ok;
    Lines lines;        // as many of lines 1..n as the file holds
    Whereabouts where;  // where it was looked for, when it is missing
};

// The loading pass: reads lines 1..n and nothing after them.
LoadResult loadEntries(const SourceOpener& open, std::int64_t n, Encoding encoding,
                       std::size_t chunkSize = kChunkSize);

}  // namespace dictionary
