#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ByteSource.h"
#include "OpenStatus.h"
#include "Whereabouts.h"

namespace dictionary {

// The dictionary's one name: the program reads the file of that name in its current folder.
inline constexpr std::string_view kFileName = "engl.voc";

struct OpenedSource {
    OpenStatus status = OpenStatus::Ok;
    std::unique_ptr<ByteSource> source;  // set only when status is Ok
    Whereabouts where;                   // set only when status is Missing
};

// Opens the dictionary afresh for one pass; tests put a failing or changing input behind it.
using SourceOpener = std::function<OpenedSource()>;

// Opens `path` (UTF-8) read-only, never blocking and never locking; only regular files are
// accepted. Where there is none, it says where it looked.
SourceOpener fileOpener(std::string_view path);

// The dictionary of a program asked to open `path` (UTF-8), as Explorer's "Open with" asks: a
// file named engl.voc makes its folder the current one, exactly as if the program had been
// started there, and is read as always. Any other name is refused (NotDictionary, its name as
// the near miss), and nothing is read.
SourceOpener openerFor(const std::string& path);

// A file's bytes already in memory, as a browser hands over one the user picked; each pass reads
// them from the start.
SourceOpener heldOpener(std::shared_ptr<const std::string> bytes);

}  // namespace dictionary
