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

  ui::StringGrid* grid_;
  History* history_;
  Host* host_;
  ScopedMenu GridPop;
  // The check mark of GridPop's DelMode item, which is never shown (so nothing toggles it
  // from the menu): the flag is all of it.
  bool delete_mode_ = false;
};

}  // namespace lvn
