// The 通知 page of the options window: the notices, the change command and its test. Its
// controls are children of the options window, shown while the page is chosen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "settings/notify_settings.h"
#include "windows/options/page_controls_win.h"

namespace lvn {

class NotifyPage {
 public:
  // The options window's timer that the page's balloon waits on.
  static constexpr UINT_PTR kBalloonTimer = 2;

  // What the page reads and changes: the main window's notifier.
  class Host {
   public:
    virtual NotifySettings CurrentNotify() const = 0;
    // Takes effect at once; reaches the settings file at exit.
    virtual void ChangeNotify(const NotifySettings& settings) = 0;
    // Runs command now with the current address; its outcome shows in a box.
    virtual void TestCommand(const std::string& command) = 0;

   protected:
    ~Host() = default;
  };

  // Makes the page's controls hidden, in tab order after the window's existing ones.
  bool Create(HWND parent, HFONT font, UINT dpi, Host* host);
  // The page's controls at their places for a display of dpi, with font.
  void ApplyDpi(HFONT font, UINT dpi);
  void Show(bool show);
  // A WM_COMMAND from one of the page's controls; false for any other.
  bool OnCommand(int id, UINT code);
  // The command field's text becomes the command. Only when the field is left, OK is
  // pressed or the window closes: a change that comes while the user types must not run
  // half a command line. A command that the settings file's code page cannot hold is
  // refused and the command in use stays; with tell, the field says why. False when
  // refused.
  bool TakeCommand(bool tell);
  // A WM_TIMER of the options window: the balloon a refusal asked for shows.
  void OnTimer(UINT_PTR id);
  void HideBalloon();

 private:
  NotifySettings Settings() const;
  void Browse();

  HWND parent_ = nullptr;
  Host* host_ = nullptr;
  std::vector<HWND> controls_;
  // Set while the page fills its own fields, whose change notices are not the user's.
  bool filling_ = false;
  RefusalBalloon balloon_{kBalloonTimer};
};

}  // namespace lvn
