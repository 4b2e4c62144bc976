#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace dictionary {

// Why a pass over the dictionary could not read it.
enum class OpenStatus {
    Ok,
    Missing,
    NotRegularFile,
    NoPermission,
    Busy,  // another program holds it open and shares no reading
    ReadError,
    OutOfMemory,  // the lines asked for do not fit in memory
};

// One opened input, read front to back by a single pass and closed when destroyed.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills the front of `buffer`: the count read, 0 at the end, nullopt on a read error.
    virtual std::optional<std::size_t> read(std::span<char> buffer) = 0;
    // The size the input expects to have, or 0 where it cannot tell.
    virtual std::uint64_t sizeHint() const { return 0; }
};

struct OpenedSource {
    OpenStatus status = OpenStatus::Ok;
    std::unique_ptr<ByteSource> source;  // set only when status is Ok
};

// Opens the dictionary afresh for one pass; tests put a failing or changing input behind it.
using SourceOpener = std::function<OpenedSource()>;

// Opens `path` read-only, never blocking and never locking; only regular files are accepted.
SourceOpener fileOpener(std::string path);

}  // namespace dictionary
