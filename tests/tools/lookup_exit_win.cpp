// Starts a lookup and ends the program while it runs, the way an exit during a slow
// check does: the window is destroyed and the process returns with the worker still
// fetching. Exit code 0 unless something crashed.
#include <windows.h>

#include "lookup/lookup_worker_win.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND target = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
  lvn::LookupWorker lookup;
  if (target == nullptr || !lookup.Start(argv[1], target, WM_APP + 1, 1)) return 3;
  // Let the worker get into the exchange before the end comes.
  ::Sleep(300);
  ::DestroyWindow(target);
  return lookup.Running() ? 0 : 4;
}
