#include "settings/settings_file_win.h"

#include <windows.h>

#include <string>

#include "util/file_io_win.h"
#include "util/path.h"
#include "util/wide_text_win.h"

namespace lvn {

bool LoadSettingsFile(const char* path, IniFile* ini) {
  std::string content;
  switch (ReadWholeFile(path, &content)) {
    case ReadResult::kOk:
      ini->Load(content);
      return true;
    case ReadResult::kMissing:
      ini->Load({});
      return true;
    case ReadResult::kFailed:
    case ReadResult::kTooLarge:
      break;
  }
  return false;
}

bool SaveSettingsFile(const IniFile& ini, const char* path) {
  if (::GetFileAttributesW(Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES) {
    const std::string folder(path, FolderPartLength(path));
    // Failure shows up in the write that follows.
    if (!folder.empty()) ::CreateDirectoryW(Wide(folder).c_str(), nullptr);
  }
  return ReplaceFileContent(path, ini.Serialize());
}

}  // namespace lvn
