// The notification-area icon and the decoding of its notifications. Texts are UTF-8, cut to
// what the shell's fields hold.
#pragma once

#include <windows.h>

namespace lvn {

inline constexpr UINT kTrayIconId = 100;
inline constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;

enum class TrayAction { kAdd, kModify, kRemove };

// Adds, changes (a new picture) or removes the icon whose notifications go to target. False when the shell refused,
// as it may while it is busy at logon.
bool SetTrayIcon(HWND target, TrayAction action, HICON icon, const char* tip);

// Shows a balloon notice from the icon target shows; it never takes the focus. False when
// the shell refused, as it does for an icon it does not have.
bool ShowTrayNotice(HWND target, const char* title, const char* text, bool warning);

enum class TrayCommand { kNone, kRestore, kMenu };

// A click on a balloon notice, as the shell reports it.
inline constexpr int kBalloonClicked = WM_USER + 5;

// The mouse message carried in a notification's lParam low word: a left release or a
// click on a notice restores the window, a right release opens the menu, the rest does
// nothing.
constexpr TrayCommand DecodeTrayNotification(int mouse_message) {
  return mouse_message == WM_LBUTTONUP || mouse_message == kBalloonClicked ? TrayCommand::kRestore
         : mouse_message == WM_RBUTTONUP                                    ? TrayCommand::kMenu
                                                                            : TrayCommand::kNone;
}

}  // namespace lvn
