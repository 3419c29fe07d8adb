// The edit dialog of one update target: its kind, URL, host, user, secret, events, the url
// kind's method and body, and whether it is used. Modal to the options window, which it
// disables while it is open; OK saves what passes the target's check, Cancel or Esc
// discards.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/update_targets.h"
#include "ui/window_win.h"
#include "util/scoped_win.h"

namespace lvn {

class TargetDialog final : public ui::Window {
 public:
  static constexpr char kClassName[] = "LvnTargetDialog";
  // The client size at 96 DPI, scaled for the window's own.
  static constexpr int kClientWidth = 364;
  static constexpr int kClientHeight = 337;

  // Saves a target that passed its check, with the secret typed or nothing to keep the
  // protected one; false when the secret could not be protected.
  using Save = std::function<bool(const UpdateTarget& target,
                                  const std::optional<std::string>& secret)>;

  TargetDialog(const UpdateTarget& target, Save save)
      : target_(target), save_(std::move(save)) {}
  ~TargetDialog() override;

  static bool RegisterWindowClass();
  // Shows the dialog with the target's values, owner disabled until it closes.
  bool Open(HWND owner);
  // Shown and not on its way out.
  bool IsOpen() const { return Handle() != nullptr && !closing_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // Fonts and places for a display of dpi, the frame sized for it at top_left.
  bool ApplyDpi(UINT dpi, const POINT& top_left);
  void Fill();
  TargetKind ChosenKind() const;
  // The fields the chosen kind uses enabled, the others disabled.
  void FitFieldsToKind();
  void KindChanged();
  void OkClick();
  // The field at fault told in a box and given the focus.
  void Refuse(int field, const char* text);
  void Close();

  UpdateTarget target_;
  Save save_;
  HWND owner_ = nullptr;
  std::vector<HWND> controls_;
  ScopedFont font_;
  UINT dpi_ = ui::kDesignDpi;
  bool closing_ = false;
};

}  // namespace lvn
