// Opens the options window of a running lorvane.exe, as its 設定 menu does, and waits for
// it to show: lvn_options.exe. Exit code 0 when it shows, 1 when no program ran, 2 when the
// window did not show.
#include <windows.h>

#include "windows/main/main_window_ids.h"

int main() {
  HWND main = ::FindWindowA("TfrmMain", nullptr);
  if (main == nullptr) return 1;
  ::PostMessageA(main, WM_COMMAND, lvn::kCmdOptions, 0);
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(main, &process_id);
  for (int wait = 0; wait < 300; ++wait) {
    for (HWND window = ::FindWindowExA(nullptr, nullptr, "TfrmOption", nullptr);
         window != nullptr; window = ::FindWindowExA(nullptr, window, "TfrmOption", nullptr)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == process_id && ::IsWindowVisible(window)) return 0;
    }
    ::Sleep(100);
  }
  return 2;
}
