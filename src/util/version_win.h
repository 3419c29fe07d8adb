#pragma once

#include <cstddef>

namespace lvn {

// FileVersion from the file's Japanese / code page 932 string table, or "0.0.0.0".
char* FileVersionText(char* dest, const char* file_path, std::size_t n);

}  // namespace lvn
