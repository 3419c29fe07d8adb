// DLLs that are not KnownDLLs are looked for in the program's own folder first, where a
// download folder may hold anything: the program takes such DLLs from System32 only.
#pragma once

#include <windows.h>

namespace lvn {

// Limits every later DLL search of the process to System32 and loads the System32 copies
// of DLLs that system DLLs may look for by name. Called first thing, before anything else
// loads a DLL.
void RestrictDllSearchToSystem32();

// The system's own copy of a DLL, or null. The module stays loaded for the process's life.
HMODULE LoadSystemLibrary(const char* name);

// An export of module as the function type it has, or null.
template <typename Function>
Function SystemFunction(HMODULE module, const char* name) {
  // Through the one function type that casts to any other without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// *slot := the export of module named name; true when there is one.
template <typename Function>
bool BindSystemFunction(HMODULE module, const char* name, Function* slot) {
  *slot = SystemFunction<Function>(module, name);
  return *slot != nullptr;
}

}  // namespace lvn
