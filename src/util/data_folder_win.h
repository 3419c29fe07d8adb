#pragma once

#include <string>

namespace lvn {

// The program file's full path, in UTF-8, never cut. False, with *path untouched, when the
// system does not give it.
bool ProgramPath(std::string* path);

// The per-user data folder in UTF-8, ending in "\": the roaming application-data folder
// followed by "\Lorvane\", or the executable's folder when the shell cannot tell or the
// first is too long for the file calls (see ComposeDataFolder). The executable's folder
// always, for a portable copy (lvn.ini beside it); *portable says which. Never a path cut
// short: empty when no folder fits. The folder is not created here.
std::string DataFolderPath(bool* portable = nullptr);

// The folder of the program file, with its "\"; empty when unknown.
std::string ProgramFolder();

// Makes folder (one level) when it does not exist; a failure shows in the writes that follow.
void MakeFolder(const std::string& folder);

// Whether a file can be made in folder (with its "\").
bool FolderTakesFiles(const std::string& folder);

}  // namespace lvn
