#pragma once

#include <string>

namespace lvn {

// FileVersion from the file's (UTF-8 path) Japanese / code page 932 string table, in
// UTF-8, or "0.0.0.0".
std::string FileVersionText(const std::string& file_path);

}  // namespace lvn
