// MainGrid's history: what the grid shows (a view of the log, reloaded in one pass) and what
// its keys and pop-up menu GridPop do, delete mode included.
#pragma once

#include <windows.h>

#include "check/main_model_win.h"
#include "history/history_win.h"
#include "history/log_format.h"
#include "ui/dpi_win.h"
#include "ui/grid_model.h"
#include "ui/string_grid_win.h"
#include "util/scoped_win.h"
#include "windows/main/status_strip_win.h"

namespace lvn {

class HistoryGrid : private ui::GridCellSource {
 public:
  // The history grid's header row, fixed again at every reload.
  static constexpr int kHeaderRows = 1;

  // grid shows the model's history; both outlive this object.
  HistoryGrid(ui::StringGrid* grid, MainModel* model) : grid_(grid), model_(model) {}

  // Builds GridPop and takes the grid's events. window owns the boxes and bears the
  // caption; status shows the current row. False when the menu cannot be made.
  bool Create(HWND window, TStatus* status);

  // Reads the log again and shows it (see Show).
  ReloadResult Reload(bool select_last) { return Show(model_->ReloadHistory(), select_last); }
  // Shows the records the view switches let through after a reload that gave result,
  // scrolled to the end; select_last makes the last record current. A log too large to
  // read is told once a run, from the message loop: kMsgHistoryTooLarge, posted to the
  // window, is answered by TellTooLarge.
  ReloadResult Show(ReloadResult result, bool select_last);
  void TellTooLarge();
  // The columns fitted to the grid's width, the scroll bar's included when it shows.
  void FitColumns();
  // Rows and columns sized for a display of dpi, the columns fitted again.
  void SetDpi(UINT dpi);

 private:
  // ui::GridCellSource
  int GridRowCount() const override;
  int GridColCount() const override;
  void GridCellText(int col, int row, std::string* text) const override;

  void OnKeyDown(WORD& key, bool shift, bool ctrl, bool alt);
  // GridPop at a screen point, and the command picked from it.
  void OnContextMenu(POINT screen);
  // Column 2 of the current row, without blanks at either end, to the clipboard.
  void CopyDescription();

  // What a delete takes, fixed when the key is pressed: a reload while the question is
  // open (a view switch, a lookup) must not turn the chosen rows into other records.
  struct Chosen {
    DeleteRange records;
    ViewSwitches view;
    ui::RowRange rows;
    int row_count = 0;
  };
  Chosen ChooseSelection() const;

  // Delete mode on or off, with the window's caption that tells it.
  void SetDeleteMode(bool on);
  // Deletes the chosen records, reloads, and leaves the selection exactly the current row.
  void Delete(const Chosen& chosen);

  void ShowRowStatus(const char* text);

  ui::StringGrid* grid_;
  MainModel* model_;
  HWND window_ = nullptr;
  TStatus* status_ = nullptr;
  ScopedMenu GridPop;
  // The check mark of GridPop's delete-mode item, which is never shown (so nothing toggles it
  // from the menu): the flag is all of it.
  bool delete_mode_ = false;
  UINT dpi_ = ui::kDesignDpi;
  // The user has been told once in this run that the history is too large to show.
  bool too_large_told_ = false;
  // What the posted message stands for; a copy from elsewhere finds it unset.
  bool too_large_to_tell_ = false;
};

}  // namespace lvn
