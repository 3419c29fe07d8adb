// Opens the options window of a running lorvane.exe, as its 設定 menu does, and waits for
// it to show: lvn_options.exe [notify|connection]. With "notify" its 通知 page is chosen
// too, with "connection" its 接続 page. Exit code 0 when it shows, 1 when no program ran, 2
// when the window or page did not show.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "windows/main/main_window_ids.h"
#include "windows/options/option_window_ids.h"

namespace {

HWND WaitForOptions(DWORD process_id) {
  for (int wait = 0; wait < 300; ++wait) {
    for (HWND window = ::FindWindowExW(nullptr, nullptr, L"TfrmOption", nullptr);
         window != nullptr; window = ::FindWindowExW(nullptr, window, L"TfrmOption", nullptr)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(window, &owner);
      if (owner == process_id && ::IsWindowVisible(window)) return window;
    }
    ::Sleep(100);
  }
  return nullptr;
}

// The tree's item at index, and the page that shows the control group; item handles are
// plain values that the tree takes back.
bool ChoosePage(HWND options, int index, int group) {
  HWND tree = ::GetDlgItem(options, lvn::kIdSectionTree);
  LPARAM item = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  for (int i = 0; i < index; ++i) item = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, item);
  ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, item);
  for (int wait = 0; wait < 100; ++wait) {
    if (::IsWindowVisible(::GetDlgItem(options, group))) return true;
    ::Sleep(50);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  HWND main = ::FindWindowW(L"TfrmMain", nullptr);
  if (main == nullptr) return 1;
  ::PostMessageW(main, WM_COMMAND, lvn::kCmdOptions, 0);
  DWORD process_id = 0;
  ::GetWindowThreadProcessId(main, &process_id);
  HWND options = WaitForOptions(process_id);
  if (options == nullptr) return 2;
  if (argc > 1 && std::strcmp(argv[1], "notify") == 0 &&
      !ChoosePage(options, 1, lvn::kIdNoticeGroup)) {
    return 2;
  }
  if (argc > 1 && std::strcmp(argv[1], "connection") == 0 &&
      !ChoosePage(options, 2, lvn::kIdUrlGroup)) {
    return 2;
  }
  return 0;
}
