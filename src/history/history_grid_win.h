// The history grid's commands: the keys of MainGridKeyDown, the pop-up menu GridPop with its
// copy command, and delete mode. The main window routes the grid's events here.
#pragma once

#include <windows.h>

#include "history/history_win.h"
#include "history/log_format.h"
#include "ui/string_grid_win.h"
#include "util/scoped_win.h"

namespace lvn {

class HistoryGridCommands {
 public:
  // What the commands need of the window the grid lives in.
  class Host {
   public:
    virtual HWND CommandWindow() const = 0;  // owner of the box, bearer of the caption
    virtual ViewSwitches Views() const = 0;
    virtual void ReloadHistoryGrid() = 0;

   protected:
    ~Host() = default;
  };

  // grid shows history; all three outlive the commands.
  HistoryGridCommands(ui::StringGrid* grid, History* history, Host* host);

  // Builds GridPop. False when the menu cannot be made.
  bool Create();

  // MainGridKeyDown: sets key to 0 when the key is consumed.
  void OnKeyDown(WORD& key, bool shift, bool ctrl, bool alt);
  // GridPop at a screen point, and the command picked from it.
  void OnContextMenu(POINT screen);
  // IP1Click: column 2 of the current row, without blanks at either end, to the clipboard.
  void CopyDescription();

 private:
  // Delete mode on or off, with the window's caption that tells it.
  void SetDeleteMode(bool on);
  // Deletes the records behind the selected rows, reloads and places the current row.
  void DeleteSelection();

  ui::StringGrid* grid_;
  History* history_;
  Host* host_;
  ScopedMenu GridPop;
  // The check mark of GridPop's DelMode item, which is never shown (so nothing toggles it
  // from the menu): the flag is all of it.
  bool delete_mode_ = false;
};

}  // namespace lvn
