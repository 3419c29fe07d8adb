// lvn.ini on disk.
#pragma once

#include "settings/ini_file.h"

namespace lvn {

// Loads the file at path into *ini. A missing file leaves the object empty and succeeds;
// a file that exists but cannot be read fails.
bool LoadSettingsFile(const char* path, IniFile* ini);

// Writes the whole object to path, creating the folder (one level) when the file does
// not exist yet. The file is replaced in one step: a refused or interrupted write leaves
// the old file as it was.
bool SaveSettingsFile(const IniFile& ini, const char* path);

}  // namespace lvn
