#include "util/system_library_win.h"

#include "util/wide_text_win.h"

namespace lvn {

void RestrictDllSearchToSystem32() {
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Some system DLLs delay-load msimg32 by its plain name, searched the old way (Wine's
  // theme DLL does): with the System32 copy loaded first, such a load finds that one.
  LoadSystemLibrary("msimg32.dll");
}

HMODULE LoadSystemLibrary(const char* name) {
  return ::LoadLibraryExW(Wide(name).c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace lvn
