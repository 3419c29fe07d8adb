#include "util/data_folder_win.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "util/data_folder.h"
#include "util/path.h"
#include "util/scoped_win.h"
#include "util/wide_text_win.h"

namespace lvn {

namespace {

// The longest path Windows has, in UTF-16 units with the terminating zero.
constexpr DWORD kLongestPath = 32768;

// The roaming application-data folder by its real name; false when the shell cannot tell.
bool RoamingAppDataFolder(std::string* path) {
  PWSTR wide = nullptr;
  const HRESULT result = ::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &wide);
  const bool ok = SUCCEEDED(result) && wide != nullptr && wide[0] != L'\0';
  if (ok) *path = Utf8Of(wide);
  // Freed whether or not the call succeeded.
  ::CoTaskMemFree(wide);
  return ok;
}

bool IsFile(const std::string& path) {
  std::wstring wide;
  if (!WideOfUtf8Strict(path, &wide)) return false;
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

bool ProgramPath(std::string* path) {
  std::wstring wide(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(wide.size());
    const DWORD length = ::GetModuleFileNameW(nullptr, wide.data(), size);
    if (length == 0) return false;
    // A full buffer may hold a cut path.
    if (length < size) {
      wide.resize(length);
      *path = Utf8Of(wide);
      return true;
    }
    if (size >= kLongestPath) return false;
    wide.resize(size * 2);
  }
}

std::string DataFolderPath(bool* portable) {
  std::string app_data;
  RoamingAppDataFolder(&app_data);
  std::string exe_path;
  ProgramPath(&exe_path);
  DataFolderPlaces places{app_data, exe_path};
  if (!exe_path.empty()) {
    places.Portable = IsFile(exe_path.substr(0, FolderPartLength(exe_path)) + "lvn.ini");
  }
  if (portable != nullptr) *portable = places.Portable;
  return ComposeDataFolder(places);
}

std::string ProgramFolder() {
  std::string folder;
  if (!ProgramPath(&folder)) return {};
  const std::size_t slash = folder.find_last_of('\\');
  folder.resize(slash == std::string::npos ? 0 : slash + 1);
  return folder;
}

void MakeFolder(const std::string& folder) {
  const std::wstring wide = Wide(folder);
  if (::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ::CreateDirectoryW(wide.c_str(), nullptr);
  }
}

bool FolderTakesFiles(const std::string& folder) {
  const ScopedHandle file(
      ::CreateFileW(Wide(folder + "lvn.probe.tmp").c_str(), GENERIC_WRITE, 0, nullptr,
                    CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return static_cast<bool>(file);
}

}  // namespace lvn
