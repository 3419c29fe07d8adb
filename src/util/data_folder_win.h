#pragma once

#include <cstddef>

namespace lvn {

// The per-user data folder, always ending in "\": the roaming application-data folder
// followed by "\Lorvane\", or the executable's folder when the shell cannot tell.
// The folder is not created here.
char* DataFolderPath(char* dest, std::size_t n);

// The composition behind DataFolderPath: app_data is the shell's answer (null when it
// failed), exe_path the executable's full path.
char* ComposeDataFolder(char* dest, const char* app_data, const char* exe_path, std::size_t n);

}  // namespace lvn
