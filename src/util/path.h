#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lvn {

// Length of path's folder part: up to and including its last "\" (0 when it has none).
// Paths are UTF-8, where no byte of a longer character is 0x5C.
std::size_t FolderPartLength(std::string_view path);

// The help page beside the program: the folder of exe_path, "help\" and page.
std::string HelpPagePath(std::string_view exe_path, std::string_view page);

}  // namespace lvn
