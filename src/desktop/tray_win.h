// The notification-area icon and the decoding of its notifications.
#pragma once

#include <windows.h>

namespace lvn {

inline constexpr UINT kTrayIconId = 100;
inline constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;

enum class TrayAction { kAdd, kRemove };

// Adds or removes the icon whose notifications go to target. False when the shell refused,
// as it may while it is busy at logon.
bool SetTrayIcon(HWND target, TrayAction action, HICON icon, const char* tip);

enum class TrayCommand { kNone, kRestore, kMenu };

// The mouse message carried in a notification's lParam low word: a left release
// restores the window, a right release opens the menu, the rest does nothing.
constexpr TrayCommand DecodeTrayNotification(int mouse_message) {
  return mouse_message == WM_LBUTTONUP   ? TrayCommand::kRestore
         : mouse_message == WM_RBUTTONUP ? TrayCommand::kMenu
                                         : TrayCommand::kNone;
}

}  // namespace lvn
