// The 接続 page of the options window: the lookup page, a second one for when it fails or
// to confirm a new address, and checks on network changes. Its controls are children of the options window, shown
// while the page is chosen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "settings/lookup_settings.h"
#include "windows/options/page_controls_win.h"

namespace lvn {

class ConnectionPage {
 public:
  // The options window's timer that the page's balloon waits on.
  static constexpr UINT_PTR kBalloonTimer = 1;

  // What the page reads and changes: the main window's lookup.
  class Host {
   public:
    virtual std::string CurrentLookupUrl() const = 0;
    // Only with a URL that LookupUrlProblem passed; the next check asks it.
    virtual void ChangeLookupUrl(const std::string& url) = 0;
    virtual LookupSettings CurrentLookup() const = 0;
    // Takes effect at once; reaches the settings file at exit.
    virtual void ChangeLookup(const LookupSettings& settings) = 0;

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
  // A WM_TIMER of the options window: the balloon a refusal asked for shows.
  void OnTimer(UINT_PTR id);
  void HideBalloon();

 private:
  // Takes the URL in the field id when it passes the check; otherwise, with tell, the
  // field says why and the URL in use stays.
  void TakeUrl(int id, bool tell);
  // The confirmation's box usable while the fallback field holds a URL.
  void EnableConfirm();

  HWND parent_ = nullptr;
  Host* host_ = nullptr;
  std::vector<HWND> controls_;
  RefusalBalloon balloon_{kBalloonTimer};
};

}  // namespace lvn
