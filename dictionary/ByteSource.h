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
    Busy,           // another program holds it open and shares no reading
    NotDictionary,  // the program was asked to open a file not named engl.voc
    ReadError,
    OutOfMemory,  // the lines asked for do not fit in memory
};

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

// Where a missing dictionary was looked for, and a file there that its user may have taken for
// it: "engl.voc.txt", as Notepad saves it and Explorer, hiding the ".txt", shows it.
struct Whereabouts {
    std::string folder;    // the full path, in UTF-8 as a file manager shows it; empty if unknown
    std::string nearMiss;  // that file's name, or empty
};

struct OpenedSource {
    OpenStatus status = OpenStatus::Ok;
    std::unique_ptr<ByteSource> source;  // set only when status is Ok
    Whereabouts where;                   // set only when status is Missing
};

// Opens the dictionary afresh for one pass; tests put a failing or changing input behind it.
using SourceOpener = std::function<OpenedSource()>;

// Opens `path` (UTF-8) read-only, never blocking and never locking; only regular files are
// accepted. Where there is none, it says where it looked.
SourceOpener fileOpener(std::string path);

// The full path of the folder of `path` (UTF-8), and the first file in it, by name, named
// `path`'s name and another extension.
Whereabouts lookAround(const std::string& path);

// The dictionary of a program asked to open `path` (UTF-8), as Explorer's "Open with" asks: a
// file named engl.voc makes its folder the current one, exactly as if the program had been
// started there, and is read as always. Any other name is refused (NotDictionary, its name as
// the near miss), and nothing is read.
SourceOpener openerFor(const std::string& path);

}  // namespace dictionary
