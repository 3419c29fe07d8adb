#include "windows/main/history_grid_commands_win.h"

#include <string>

#include "history/grid_keys.h"
#include "history/history_view.h"
#include "util/clipboard_win.h"
#include "util/texts.h"

namespace lvn {
namespace {

enum GridPopCommand : UINT { kCmdCopy = 1 };

constexpr int kCaptionCapacity = 256;

}  // namespace

HistoryGridCommands::HistoryGridCommands(ui::StringGrid* grid, History* history, Host* host)
    : grid_(grid), history_(history), host_(host) {}

bool HistoryGridCommands::Create() {
  GridPop.Reset(::CreatePopupMenu());
  if (!GridPop) return false;
  // DelMode, the third item, is not visible: the keys alone reach delete mode.
  return ::AppendMenuA(GridPop.Get(), MF_STRING, kCmdCopy, texts::kGridPopCopy) &&
         ::AppendMenuA(GridPop.Get(), MF_SEPARATOR, 0, nullptr);
}

void HistoryGridCommands::OnKeyDown(WORD& key, bool shift, bool ctrl, bool alt) {
  switch (DecideGridKey(key, shift, ctrl, alt, delete_mode_)) {
    case GridKeyAction::kNone:
      return;
    case GridKeyAction::kSelectAll:
      grid_->SetSelection(1, grid_->RowCount() - 1, grid_->RowCount() - 1);
      break;
    case GridKeyAction::kLeaveDeleteMode:
      SetDeleteMode(false);
      break;
    case GridKeyAction::kAskForDeleteMode: {
      const Chosen chosen = ChooseSelection();
      char caption[kCaptionCapacity] = "";
      ::GetWindowTextA(host_->CommandWindow(), caption, sizeof caption);
      const int answer = ::MessageBoxA(host_->CommandWindow(), texts::kDeleteModeQuestion,
                                       caption, MB_YESNO | MB_DEFBUTTON2);
      // Some systems give the focus back to the owner, not to the grid the key came from.
      if (::IsWindow(grid_->Handle())) ::SetFocus(grid_->Handle());
      // No, or a box that could not be shown: the key goes on to the grid, which does
      // nothing with it.
      if (answer != IDYES) return;
      SetDeleteMode(true);
      Delete(chosen);
      break;
    }
    case GridKeyAction::kDelete:
      Delete(ChooseSelection());
      break;
  }
  key = 0;
}

void HistoryGridCommands::OnContextMenu(POINT screen) {
  const UINT picked = static_cast<UINT>(::TrackPopupMenu(
      GridPop.Get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, screen.x, screen.y, 0,
      host_->CommandWindow(), nullptr));
  if (picked == kCmdCopy) CopyDescription();
}

void HistoryGridCommands::CopyDescription() {
  std::string text;
  history_->View().CellText(grid_->Row(), 2, &text);
  PutTextOnClipboard(host_->CommandWindow(), CopyTextOf(text));
}

void HistoryGridCommands::SetDeleteMode(bool on) {
  delete_mode_ = on;
  ::SetWindowTextA(host_->CommandWindow(),
                   on ? texts::kDeleteModeCaption : texts::kAfterDeleteModeCaption);
}

HistoryGridCommands::Chosen HistoryGridCommands::ChooseSelection() const {
  Chosen chosen;
  chosen.rows = grid_->Selection();
  chosen.row_count = grid_->RowCount();
  chosen.view = host_->Views();
  chosen.records = RowsToDelete(history_->View(), chosen.rows.top, chosen.rows.bottom);
  return chosen;
}

void HistoryGridCommands::Delete(const Chosen& chosen) {
  history_->Remove(chosen.records, chosen.view);
  host_->ReloadHistoryGrid();
  const int row = CurrentRowAfterDelete(chosen.rows.top, chosen.rows.bottom, chosen.row_count,
                                        grid_->RowCount());
  // SetRow leaves a selection alone when the row is current already, as after a selection
  // made upward; a stale one would make the next Delete take the rows below.
  grid_->SetRow(row);
  grid_->SetSelection(row, row, row);
}

}  // namespace lvn
