#pragma once

#include <cstddef>

namespace lvn {

// The per-user data folder, always ending in "\": the roaming application-data folder
// followed by "\Lorvane\", or the executable's folder when the shell cannot tell or the
// ANSI code page cannot reach it (AnsiPathOf).
// The folder is not created here. See ComposeDataFolder.
char* DataFolderPath(char* dest, std::size_t n);

}  // namespace lvn
