#pragma once

#include <cstddef>

namespace lvn {

// The per-user data folder, ending in "\": the roaming application-data folder followed by
// "\Lorvane\", or the executable's folder when the shell cannot tell or the ANSI file calls
// cannot reach it, by its name or its short one (see ComposeDataFolder). The executable's
// folder always, for a portable copy (lvn.ini beside it); *portable says which. Never a
// path cut short. The folder is not created here.
char* DataFolderPath(char* dest, std::size_t n, bool* portable = nullptr);

}  // namespace lvn
