// Ends a running lorvane.exe the way its File menu does, and waits for it to go:
// lvn_exit.exe. Exit code 0 when it ended, 1 when none ran, 2 when it did not end.
#include <windows.h>

#include "windows/main/main_window_ids.h"

int main() {
  HWND main = ::FindWindowW(L"TfrmMain", nullptr);
  if (main == nullptr) return 1;
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(main, &process_id);
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, process_id);
  ::PostMessageW(main, WM_COMMAND, lvn::kCmdExitApp, 0);
  if (process == nullptr) return 0;
  const DWORD waited = ::WaitForSingleObject(process, 30000);
  ::CloseHandle(process);
  return waited == WAIT_OBJECT_0 ? 0 : 2;
}
