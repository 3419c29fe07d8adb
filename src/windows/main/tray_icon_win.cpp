#include "windows/main/tray_icon_win.h"

#include "desktop/tray_win.h"
#include "ui/application_win.h"
#include "ui/controls_win.h"
#include "util/texts.h"
#include "util/wide_text_win.h"
#include "windows/main/main_window_ids.h"

namespace lvn {

bool TrayIcon::Create(HWND target, HICON icon, UINT forward_message) {
  target_ = target;
  icon_ = icon;
  TaskBarPop.Reset(::CreatePopupMenu());
  if (!TaskBarPop || !::AppendMenuW(TaskBarPop.Get(), MF_STRING, kCmdTrayExit,
                                    Wide(texts::Ui().TrayExit).c_str())) {
    return false;
  }
  return ui::HookControl(target, [forward_message](HWND edit, UINT message, WPARAM,
                                                   LPARAM lparam, LRESULT* result) {
    if (message != kTrayCallbackMessage) return false;
    *result = ::SendMessageW(::GetParent(edit), forward_message, 0, lparam);
    return true;
  });
}

bool TrayIcon::Show() {
  if (!shown_) {
    shown_ = SetTrayIcon(target_, TrayAction::kAdd, icon_, ui::ApplicationTitle());
  }
  return shown_;
}

void TrayIcon::SetIcon(HICON icon) {
  icon_ = icon;
  // The shell keeps a copy of the picture. A change it refuses becomes a new icon.
  if (!shown_ || SetTrayIcon(target_, TrayAction::kModify, icon_, ui::ApplicationTitle())) return;
  SetTrayIcon(target_, TrayAction::kRemove, icon_, ui::ApplicationTitle());
  shown_ = false;
  Show();
}

void TrayIcon::Hide() {
  if (shown_) SetTrayIcon(target_, TrayAction::kRemove, icon_, ui::ApplicationTitle());
  shown_ = false;
}

bool TrayIcon::ShowNotice(const Notice& notice) {
  return shown_ &&
         ShowTrayNotice(target_, notice.Title.c_str(), notice.Text.c_str(), notice.Warning);
}

void TrayIcon::OpenMenu(HWND owner) {
  POINT at{};
  ::GetCursorPos(&at);
  ::SetForegroundWindow(owner);
  ::TrackPopupMenu(TaskBarPop.Get(), TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  // Lets the menu close when the user clicks elsewhere.
  ::PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace lvn
