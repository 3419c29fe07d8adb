// The 送信先 page of the options window: the update targets in a list, their edit dialog,
// their removal and a test send. Its controls are children of the options window, shown
// while the page is chosen.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/update_targets.h"
#include "windows/options/target_dialog_win.h"

namespace lvn {

class TargetsPage {
 public:
  // What the page reads and changes: the main window's targets and their sends.
  class Host {
   public:
    virtual const UpdateTargets& CurrentTargets() const = 0;
    // What the last send of slot came to, or why it does not send; empty when unknown.
    virtual std::string TargetStatusOf(std::size_t slot) const = 0;
    // Replaces slot's target, or removes it when target is empty; saved at once. secret:
    // the plain text typed, or nothing to keep the protected one. False, with nothing
    // changed, when the system would not protect the secret.
    virtual bool ChangeTarget(std::size_t slot, const std::optional<UpdateTarget>& target,
                              const std::optional<std::string>& secret) = 0;
    // Sends to slot's target now; the result shows in a box owned by owner.
    virtual void TestSendTo(std::size_t slot, HWND owner) = 0;

   protected:
    ~Host() = default;
  };

  // Makes the page's controls hidden, in tab order after the window's existing ones.
  bool Create(HWND parent, HFONT font, UINT dpi, Host* host);
  // The page's controls at their places for a display of dpi, with font.
  void ApplyDpi(HFONT font, UINT dpi);
  void Show(bool show);
  // A WM_COMMAND of the options window; false for one that is not the page's.
  bool OnCommand(int id, UINT code);
  // A WM_NOTIFY of the options window; false for one that is not from the page's list.
  bool OnNotify(const NMHDR& note);
  // The list shows the targets as they are now, the selected one kept.
  void Refresh();
  // The options window shows or hides: an open edit dialog goes with it.
  void OnWindowShown(bool shown);
  // The open edit dialog to the front; false when none is open.
  bool ActivateDialog();

 private:
  // The slot of the selected row, if any.
  std::optional<std::size_t> Selected() const;
  void Select(std::size_t slot);
  void EnableButtons();
  // The edit dialog for slot's target, or for a new one in slot.
  void OpenDialog(std::size_t slot);
  void Delete(std::size_t slot);

  HWND parent_ = nullptr;
  HWND list_ = nullptr;
  Host* host_ = nullptr;
  std::vector<HWND> controls_;
  // The last edit dialog opened; its object stays until the next one, so that none goes
  // while its own messages are being handled.
  std::unique_ptr<TargetDialog> dialog_;
};

}  // namespace lvn
