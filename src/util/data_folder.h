// The per-user data folder, composed from what the system says.
#pragma once

#include <cstddef>

namespace lvn {

// The data folder, ending in "\": app_data (the roaming application-data folder, null when
// the shell could not tell) followed by "\Lorvane\", or else the folder of exe_path, the
// executable's full path. Cut to n - 1 bytes.
char* ComposeDataFolder(char* dest, const char* app_data, const char* exe_path, std::size_t n);

}  // namespace lvn
