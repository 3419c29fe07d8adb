#pragma once

#include <cstddef>

namespace lvn {

// Capacity of the program's path buffers (data folder, settings and log paths), terminating
// zero included.
inline constexpr std::size_t kPathCapacity = 300;

// Length of path's folder part: up to and including its last "\" (0 when it has none).
// Double-byte characters are stepped over whole, so a trail byte 0x5C is not a separator.
std::size_t FolderPartLength(const char* path);

// The help page beside the program: the folder of exe_path, "help\" and "index.htm", each
// step cut to kPathCapacity as the buffers of the menu command are; then cut to n - 1.
char* HelpPagePath(char* dest, const char* exe_path, std::size_t n);

}  // namespace lvn
