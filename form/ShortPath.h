#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace form {

// A path (UTF-8) of more than `most` letters, shortened in the middle to fit them: its first
// folder, "…", and as many of its last folders as fit, the last of them always whole, as in
// "C:\…\Документы\Вокабунта". A shorter path, or a bare name, stays as it is.
std::string shortPath(std::string_view path, std::size_t most);

}  // namespace form
