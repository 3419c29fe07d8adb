// Starts a lookup and ends the program while it runs, the way an exit during a slow
// check does: the window is destroyed and the process returns with the worker still
// fetching. Exit code 0 unless something crashed.
#include <windows.h>

#include "lookup/lookup_worker_win.h"
#include "tool_arguments_win.h"

int main() {
  const std::vector<std::string> arguments = lvn::tools::Arguments();
  if (arguments.empty()) return 2;
  HWND target = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
  lvn::LookupWorker lookup;
  if (target == nullptr || !lookup.Start(arguments[0].c_str(), target, WM_APP + 1, 1)) return 3;
  // Let the worker get into the exchange before the end comes.
  ::Sleep(300);
  ::DestroyWindow(target);
  return lookup.Running() ? 0 : 4;
}
