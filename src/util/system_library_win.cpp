#include "util/system_library_win.h"

namespace lvn {

void RestrictDllSearchToSystem32() { ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

HMODULE LoadSystemLibrary(const char* name) {
  return ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace lvn
