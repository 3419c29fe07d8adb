// The main window's notification-area icon and its menu, TaskBarPop.
#pragma once

#include <windows.h>

#include "notify/notices.h"
#include "util/scoped_win.h"

namespace lvn {

class TrayIcon {
 public:
  // target: the hidden edit the icon's notifications go to, as the mouse message it was
  // given. Its handler forwards each one to target's parent as forward_message, with the
  // mouse message in lParam. False when the menu or the forwarding cannot be made.
  bool Create(HWND target, HICON icon, UINT forward_message);

  // Adds the icon unless it is there; true when it is. The shell may refuse while it is
  // busy at logon; the next call tries again.
  bool Show();
  // A new picture, for another display scale; the shown icon takes it at once. The caller
  // keeps icon alive while it is the icon's and may free the old one after this.
  void SetIcon(HICON icon);
  // Removing always succeeds as far as the window is concerned.
  void Hide();
  // The shell restarted and no longer has the icon.
  void Forget() { shown_ = false; }
  // A balloon notice from the icon; false when there is no icon to show it.
  bool ShowNotice(const Notice& notice);

  // TaskBarPop at the cursor, for owner.
  void OpenMenu(HWND owner);

 private:
  HWND target_ = nullptr;
  HICON icon_ = nullptr;
  // The shell took the icon and has not forgotten it since.
  bool shown_ = false;
  ScopedMenu TaskBarPop;
};

}  // namespace lvn
