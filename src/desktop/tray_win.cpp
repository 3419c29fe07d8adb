#include "desktop/tray_win.h"

#include <shellapi.h>

#include "util/text.h"

namespace lvn {

bool ShowTrayNotice(HWND target, const char* title, const char* text, bool warning) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = target;
  data.uID = kTrayIconId;
  data.uFlags = NIF_INFO;
  CopyText(data.szInfoTitle, title, sizeof data.szInfoTitle);
  CopyText(data.szInfo, text, sizeof data.szInfo);
  data.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
  return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

bool SetTrayIcon(HWND target, TrayAction action, HICON icon, const char* tip) {
  NOTIFYICONDATAA data{};
  // The version-2 layout, whose size depends on the pointer width.
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = target;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  CopyText(data.szTip, tip, sizeof data.szTip);
  const DWORD message = action == TrayAction::kAdd      ? NIM_ADD
                        : action == TrayAction::kModify ? NIM_MODIFY
                                                        : NIM_DELETE;
  return ::Shell_NotifyIconA(message, &data) != FALSE;
}

}  // namespace lvn
