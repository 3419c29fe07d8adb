#include "desktop/tray_win.h"

#include <shellapi.h>

#include <cstddef>
#include <string>

#include "util/wide_text_win.h"

namespace lvn {
namespace {

// dest := text, cut to what the shell's field holds, never between the halves of a
// surrogate pair.
template <std::size_t N>
void PutText(wchar_t (&dest)[N], const char* text) {
  const std::wstring wide = Wide(text != nullptr ? text : "");
  std::size_t length = wide.size() < N ? wide.size() : N - 1;
  if (length < wide.size() && length > 0 && IS_HIGH_SURROGATE(wide[length - 1])) --length;
  wide.copy(dest, length);
  dest[length] = L'\0';
}

}  // namespace

bool ShowTrayNotice(HWND target, const char* title, const char* text, bool warning) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = target;
  data.uID = kTrayIconId;
  data.uFlags = NIF_INFO;
  PutText(data.szInfoTitle, title);
  PutText(data.szInfo, text);
  data.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool SetTrayIcon(HWND target, TrayAction action, HICON icon, const char* tip) {
  NOTIFYICONDATAW data{};
  // The version-2 layout, whose size depends on the pointer width.
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = target;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  PutText(data.szTip, tip);
  const DWORD message = action == TrayAction::kAdd      ? NIM_ADD
                        : action == TrayAction::kModify ? NIM_MODIFY
                                                        : NIM_DELETE;
  return ::Shell_NotifyIconW(message, &data) != FALSE;
}

}  // namespace lvn
