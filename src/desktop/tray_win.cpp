#include "desktop/tray_win.h"

#include <shellapi.h>

#include "util/text.h"

namespace lvn {

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
  return ::Shell_NotifyIconA(action == TrayAction::kAdd ? NIM_ADD : NIM_DELETE, &data) != FALSE;
}

}  // namespace lvn
