#include "util/data_folder_win.h"

#include <windows.h>
#include <shlobj.h>

#include "util/data_folder.h"
#include "util/path.h"

namespace lvn {

namespace {

bool RoamingAppDataFolder(char (&path)[kPathCapacity]) {
  PIDLIST_ABSOLUTE items = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &items)) || items == nullptr) {
    return false;
  }
  // SHGetPathFromIDListA writes up to MAX_PATH bytes, which the buffer holds.
  static_assert(kPathCapacity >= MAX_PATH);
  const bool ok = ::SHGetPathFromIDListA(items, path) != FALSE;
  ::CoTaskMemFree(items);
  return ok;
}

}  // namespace

char* DataFolderPath(char* dest, std::size_t n) {
  char app_data[kPathCapacity] = "";
  const bool have_app_data = RoamingAppDataFolder(app_data);
  char exe_path[kPathCapacity] = "";
  if (!have_app_data) {
    const DWORD length = ::GetModuleFileNameA(nullptr, exe_path, kPathCapacity);
    if (length == 0 || length >= kPathCapacity) exe_path[0] = '\0';
  }
  return ComposeDataFolder(dest, have_app_data ? app_data : nullptr, exe_path, n);
}

}  // namespace lvn
