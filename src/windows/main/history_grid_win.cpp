#include "windows/main/history_grid_win.h"

#include <iterator>
#include <string>

#include "history/grid_keys.h"
#include "desktop/status_layout.h"
#include "history/history_view.h"
#include "ui/dpi_win.h"
#include "util/clipboard_win.h"
#include "util/texts.h"
#include "util/wide_text_win.h"
#include "windows/main/main_window_messages_win.h"

namespace lvn {
namespace {

enum GridPopCommand : UINT { kCmdCopy = 1 };

// At 96 DPI: the date and time columns, and what the grid's frame takes from its width.
constexpr int kFixedColumnWidths[] = {100, 75};
constexpr int kFrameWidth = 8;

// The window's caption as it reads now, delete mode told or not: the boxes' title.
std::wstring CaptionOf(HWND window) {
  std::wstring caption(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  caption.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, caption.data(), static_cast<int>(caption.size()))));
  return caption;
}

}  // namespace

bool HistoryGrid::Create(HWND window, TStatus* status) {
  window_ = window;
  status_ = status;
  GridPop.Reset(::CreatePopupMenu());
  if (!GridPop) return false;
  // No delete-mode item is shown: the keys alone reach delete mode.
  if (!::AppendMenuW(GridPop.Get(), MF_STRING, kCmdCopy, Wide(texts::Ui().GridPopCopy).c_str()) ||
      !::AppendMenuW(GridPop.Get(), MF_SEPARATOR, 0, nullptr)) {
    return false;
  }
  grid_->SetSource(this, kHeaderRows);
  grid_->on_select_cell = [this](int, int row) {
    ShowRowStatus(RowIndicatorText(row, grid_->RowCount()).c_str());
  };
  grid_->on_key_down = [this](WORD& key, bool shift, bool ctrl, bool alt) {
    OnKeyDown(key, shift, ctrl, alt);
  };
  grid_->on_context_menu = [this](POINT screen) { OnContextMenu(screen); };
  return true;
}

void HistoryGrid::ShowRowStatus(const char* text) { status_->DrawField(2, text, false); }

ReloadResult HistoryGrid::Show(ReloadResult result, bool select_last) {
  if (result == ReloadResult::kUnreadable) {
    // Held by another program for now: the grid keeps what it shows.
    ShowRowStatus(texts::Ui().HistoryUnreadableStatus);
    return result;
  }
  // One reshape and one repaint for the whole history; the grid asks for the rows in view.
  grid_->SetSource(this, kHeaderRows);
  if (result == ReloadResult::kTooLarge) {
    ShowRowStatus(texts::Ui().HistoryTooLargeStatus);
    if (!too_large_told_) {
      too_large_told_ = true;
      too_large_to_tell_ = true;
      ::PostMessageW(window_, kMsgHistoryTooLarge, 0, 0);
    }
    return result;
  }
  grid_->SetTopRow(grid_->RowCount() - grid_->VisibleDataRows());
  if (grid_->RowCount() > 1 && select_last) grid_->SetRow(grid_->RowCount() - 1);
  ShowRowStatus(RowIndicatorText(grid_->Row(), grid_->RowCount()).c_str());
  return result;
}

void HistoryGrid::TellTooLarge() {
  if (!too_large_to_tell_) return;
  too_large_to_tell_ = false;
  std::string message = texts::Ui().HistoryTooLargeMessage;
  message += model_->Records().Folder();
  message += kLogFileName;
  ::MessageBoxW(window_, Wide(message).c_str(), Wide(texts::Ui().AppTitle).c_str(),
                MB_OK | MB_ICONWARNING);
}

void HistoryGrid::SetDpi(UINT dpi) {
  dpi_ = dpi;
  grid_->SetDpi(dpi);
  FitColumns();
}

void HistoryGrid::FitColumns() {
  if (grid_->Handle() == nullptr) return;
  const int bar = grid_->VisibleDataRows() + 1 < grid_->RowCount()
                      ? ui::MetricForDpi(SM_CXVSCROLL, dpi_)
                      : 0;
  int fixed = 0;
  for (std::size_t col = 0; col < std::size(kFixedColumnWidths); ++col) {
    const int width = ui::Scale(kFixedColumnWidths[col], dpi_);
    grid_->SetColWidth(static_cast<int>(col), width);
    fixed += width;
  }
  RECT grid{};
  ::GetWindowRect(grid_->Handle(), &grid);
  grid_->SetColWidth(static_cast<int>(std::size(kFixedColumnWidths)),
                     (grid.right - grid.left) - fixed - bar - ui::Scale(kFrameWidth, dpi_));
}

int HistoryGrid::GridRowCount() const { return model_->Records().View().RowCount(); }

int HistoryGrid::GridColCount() const { return kHistoryColumns; }

void HistoryGrid::GridCellText(int col, int row, std::string* text) const {
  model_->Records().View().CellText(row, col, text);
}

void HistoryGrid::OnKeyDown(WORD& key, bool shift, bool ctrl, bool alt) {
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
      const int answer =
          ::MessageBoxW(window_, Wide(texts::Ui().DeleteModeQuestion).c_str(),
                        CaptionOf(window_).c_str(), MB_YESNO | MB_DEFBUTTON2);
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

void HistoryGrid::OnContextMenu(POINT screen) {
  const UINT picked = static_cast<UINT>(::TrackPopupMenu(
      GridPop.Get(), TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, screen.x, screen.y, 0,
      window_, nullptr));
  if (picked == kCmdCopy) CopyDescription();
}

void HistoryGrid::CopyDescription() {
  std::string text;
  model_->Records().View().CellText(grid_->Row(), 2, &text);
  PutTextOnClipboard(window_, CopyTextOf(text));
}

void HistoryGrid::SetDeleteMode(bool on) {
  delete_mode_ = on;
  ::SetWindowTextW(window_,
                   Wide(on ? texts::Ui().DeleteModeCaption : texts::Ui().AfterDeleteModeCaption)
                       .c_str());
}

HistoryGrid::Chosen HistoryGrid::ChooseSelection() const {
  Chosen chosen;
  chosen.rows = grid_->Selection();
  chosen.row_count = grid_->RowCount();
  chosen.view = model_->Views();
  chosen.records = RowsToDelete(model_->Records().View(), chosen.rows.top, chosen.rows.bottom);
  return chosen;
}

void HistoryGrid::Delete(const Chosen& chosen) {
  const RemoveResult removed = model_->Records().Remove(chosen.records, chosen.view);
  Reload(false);
  if (removed != RemoveResult::kRemoved) {
    // The rows stay as they are: chosen again from what the grid shows now, or deleted
    // again once the log is free.
    const std::wstring text = Wide(removed == RemoveResult::kChanged
                                       ? texts::Ui().DeleteHistoryChanged
                                       : texts::Ui().DeleteFailed);
    ::MessageBoxW(window_, text.c_str(), CaptionOf(window_).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
    if (!::IsWindow(grid_->Handle())) return;
    ::SetFocus(grid_->Handle());
    // Rows chosen in the old view name other records now: only the current row stays.
    if (removed == RemoveResult::kChanged) grid_->SetSelection(grid_->Row(), grid_->Row(), grid_->Row());
    return;
  }
  const int row = CurrentRowAfterDelete(chosen.rows.top, chosen.rows.bottom, chosen.row_count,
                                        grid_->RowCount());
  // SetRow leaves a selection alone when the row is current already, as after a selection
  // made upward; a stale one would make the next Delete take the rows below.
  grid_->SetRow(row);
  grid_->SetSelection(row, row, row);
}

}  // namespace lvn
