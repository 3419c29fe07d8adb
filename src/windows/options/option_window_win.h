// The options window, TfrmOption: the check interval, the interface language and the view
// switches, the notices, the lookup and the update targets, changed in the main window the
// moment the user changes them (a URL or the command when its field is left, a target when
// its dialog says OK). Modeless, without Cancel: OK only closes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "history/log_format.h"
#include "ui/dpi_win.h"
#include "ui/window_win.h"
#include "util/scoped_win.h"
#include "windows/options/action_page_win.h"
#include "windows/options/connection_page_win.h"
#include "windows/options/notify_page_win.h"
#include "windows/options/option_window_ids.h"
#include "windows/options/targets_page_win.h"

namespace lvn {

// What the options window reads and changes: the main window's state.
class OptionHost : public NotifyPage::Host, public ConnectionPage::Host, public TargetsPage::Host {
 public:
  virtual int32_t CurrentCheckInterval() const = 0;
  // Sets the interval, restarts the check timer with it from now and shows it.
  virtual void ChangeCheckInterval(int32_t interval_ms) = 0;
  virtual ViewSwitches Views() const = 0;
  // Sets the switches and reloads the history grid.
  virtual void ChangeViews(ViewSwitches views) = 0;
  // The options window is being destroyed; its object may go once the message that told
  // this has been handled, not before.
  virtual void OptionWindowClosed() = 0;
  // The interface language of the next start: 0 automatic, 1 Japanese, 2 English
  // (texts::LanguageChoiceOf).
  virtual int LanguageChoice() const = 0;
  // Saved at once; the running program keeps its language.
  virtual void ChangeLanguageChoice(int choice) = 0;

 protected:
  ~OptionHost() = default;
};

// Exists only while it is open: its owner makes one for each Settings command that finds
// none open and lets it go when the window has been closed.
class TfrmOption final : public ui::Window {
 public:
  static constexpr char kClassName[] = "TfrmOption";
  // Its place on the screen; its client size at 96 DPI, scaled for the window's own.
  static constexpr int kLeft = 732;
  static constexpr int kTop = 199;
  static constexpr int kClientWidth = 366;
  static constexpr int kClientHeight = 239;

  // host outlives the window.
  explicit TfrmOption(OptionHost* host) : host_(host) {}
  ~TfrmOption() override;

  static bool RegisterWindowClass();
  // Builds the window hidden, owned by owner, its controls set from the host's state.
  bool Create(HWND owner);
  // Shows the window, with the focus in its tree.
  void Show();
  // Fonts and places for a display of dpi, the frame sized for it at top_left when given;
  // drawn once at the end. False, with the old fonts kept, when a font cannot be made.
  // The system's DPI changes come here.
  bool ApplyDpi(UINT dpi, const POINT* top_left);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  bool BuildLayout();
  ui::FrameArgs Frame(HWND owner) const;
  // Shows the page of the tree's item section.
  void ShowPage(HTREEITEM section);
  // Closes the window, unless the change command's field holds a text it refuses.
  void OkClick();

  OptionHost* host_;
  HWND SectionTree = nullptr;
  HTREEITEM action_item_ = nullptr;
  HTREEITEM notify_item_ = nullptr;
  HTREEITEM connection_item_ = nullptr;
  HTREEITEM targets_item_ = nullptr;
  ActionPage action_page_;
  NotifyPage notify_page_;
  ConnectionPage connection_page_;
  TargetsPage targets_page_;
  ScopedFont fonts_[2];  // the window's, the tree's and the list's
  UINT dpi_ = ui::kDesignDpi;
  // The control that had the focus when the window was last deactivated.
  HWND focus_ = nullptr;
};

}  // namespace lvn
