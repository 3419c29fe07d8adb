#include "util/data_folder_win.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "util/ansi_path_win.h"
#include "util/data_folder.h"
#include "util/path.h"
#include "util/text.h"

namespace lvn {

namespace {

// The roaming application-data folder as the ANSI code page gives it (its short form where
// the code page lacks a character) and in its short form; false when the shell cannot tell.
bool RoamingAppDataFolder(char (&path)[kPathCapacity], char (&short_path)[kPathCapacity]) {
  PIDLIST_ABSOLUTE items = nullptr;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &items)) || items == nullptr) {
    return false;
  }
  wchar_t wide[MAX_PATH];
  const bool ok = ::SHGetPathFromIDListW(items, wide) != FALSE;
  ::CoTaskMemFree(items);
  if (!ok) return false;
  const bool as_given = AnsiPathOf(wide, path, kPathCapacity);
  return ShortAnsiPathOf(wide, short_path, kPathCapacity) || as_given;
}

}  // namespace

char* DataFolderPath(char* dest, std::size_t n, bool* portable) {
  char app_data[kPathCapacity] = "";
  char app_data_short[kPathCapacity] = "";
  const bool have_app_data = RoamingAppDataFolder(app_data, app_data_short);
  char exe_path[kPathCapacity] = "";
  char exe_path_short[kPathCapacity] = "";
  ProgramAnsiPath(exe_path, kPathCapacity);
  ProgramShortAnsiPath(exe_path_short, kPathCapacity);
  DataFolderPlaces places{"", "", exe_path, exe_path_short};
  const std::string exe(exe_path[0] != '\0' ? exe_path : exe_path_short);
  if (!exe.empty()) {
    const std::string settings = exe.substr(0, FolderPartLength(exe.c_str())) + "lvn.ini";
    const DWORD attributes = ::GetFileAttributesA(settings.c_str());
    places.Portable =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
  if (portable != nullptr) *portable = places.Portable;
  if (have_app_data) {
    places.AppData = app_data;
    places.AppDataShort = app_data_short;
  }
  return CopyText(dest, ComposeDataFolder(places).c_str(), n);
}

}  // namespace lvn
