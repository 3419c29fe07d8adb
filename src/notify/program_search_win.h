// The change command's program looked for on this system: the search of program_search.h
// over the real system folder, PATH and files.
#pragma once

#include <string>

namespace lvn {

// *line with a bare program name replaced by the full path of the file we found for it.
// False when it is found nowhere: the system's own search would then try the program's
// and the working folder, so it does not run.
bool ResolveProgram(std::wstring* line);

}  // namespace lvn
