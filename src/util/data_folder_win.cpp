#include "util/data_folder_win.h"

#include <windows.h>
#include <shlobj.h>

#include "util/ansi_path_win.h"
#include "util/data_folder.h"
#include "util/path.h"

namespace lvn {

namespace {

bool RoamingAppDataFolder(char (&path)[kPathCapacity]) {
  PIDLIST_ABSOLUTE items = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &items)) || items == nullptr) {
    return false;
  }
  wchar_t wide[MAX_PATH];
  const bool ok = ::SHGetPathFromIDListW(items, wide) != FALSE;
  ::CoTaskMemFree(items);
  return ok && AnsiPathOf(wide, path, kPathCapacity);
}

}  // namespace

char* DataFolderPath(char* dest, std::size_t n) {
  char app_data[kPathCapacity] = "";
  const bool have_app_data = RoamingAppDataFolder(app_data);
  char exe_path[kPathCapacity] = "";
  if (!have_app_data) ProgramAnsiPath(exe_path, kPathCapacity);
  return ComposeDataFolder(dest, have_app_data ? app_data : nullptr, exe_path, n);
}

}  // namespace lvn
