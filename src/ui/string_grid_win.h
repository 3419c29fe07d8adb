// A grid of text cells in the style of the common controls: optional header row, grid lines,
// whole-row selection with a current row, a vertical scroll bar when the rows do not fit,
// and column borders the user may drag in the header. Texts are UTF-8 that the grid asks
// its GridCellSource for, cell by cell, when it paints or is asked.
//
// The owner reacts through the on_* callbacks, all called on the user-interface thread.
// Other processes (tests, assistive tools) read the grid through the messages below and
// its accessible object, both answered in string_grid_access_win.cpp.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/accessible_win.h"
#include "ui/grid_model.h"
#include "ui/window_win.h"

namespace lvn::ui {

// Messages a grid answers, from any process (WM_USER + 100 .. WM_USER + 110); every result
// is in the LRESULT.
//   number   message                   wParam  lParam  result
//   0x0464   kGridMsgGetRowCount       -       -       RowCount()
//   0x0465   kGridMsgGetFixedRows      -       -       FixedRows()
//   0x0466   kGridMsgGetRow            -       -       Row(), the current row
//   0x0467   kGridMsgGetSelectionTop   -       -       Selection().top
//   0x0468   kGridMsgGetSelectionBottom -      -       Selection().bottom
//   0x0469   kGridMsgGetTopRow         -       -       TopRow()
//   0x046A   kGridMsgGetVisibleRows    -       -       VisibleDataRows()
//   0x046B   kGridMsgGetColCount       -       -       ColCount()
//   0x046C   kGridMsgGetColWidth       col     -       ColWidth(col), -1 outside the grid
//   0x046D   kGridMsgSetQueryCell      col     row     TRUE; FALSE outside the grid, and
//                                                      the query cell stays
//   0x046E   kGridMsgGetRowHeight      -       -       the height of a row in pixels, its
//                                                      grid line not included
// Sizes are pixels on the screen, at the grid's display scale.
// After kGridMsgSetQueryCell, WM_GETTEXT and WM_GETTEXTLENGTH answer with the text of that
// cell (the text that is painted), or an empty text when the cell has left the grid; the
// query cell starts at column 0, row 0. The grid is a Unicode window: the text is UTF-16,
// counted in UTF-16 units, and WM_GETTEXT never cuts a surrogate pair in two.
inline constexpr UINT kGridMsgGetRowCount = WM_USER + 100;
inline constexpr UINT kGridMsgGetFixedRows = WM_USER + 101;
inline constexpr UINT kGridMsgGetRow = WM_USER + 102;
inline constexpr UINT kGridMsgGetSelectionTop = WM_USER + 103;
inline constexpr UINT kGridMsgGetSelectionBottom = WM_USER + 104;
inline constexpr UINT kGridMsgGetTopRow = WM_USER + 105;
inline constexpr UINT kGridMsgGetVisibleRows = WM_USER + 106;
inline constexpr UINT kGridMsgGetColCount = WM_USER + 107;
inline constexpr UINT kGridMsgGetColWidth = WM_USER + 108;
inline constexpr UINT kGridMsgSetQueryCell = WM_USER + 109;
inline constexpr UINT kGridMsgGetRowHeight = WM_USER + 110;

struct StringGridArgs : ChildPlace {
  // Add WS_TABSTOP to let the Tab key reach the grid.
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD ex_style = WS_EX_CLIENTEDGE;
};

class StringGrid : public Window, private AccessibleSource {
 public:
  static constexpr char kClassName[] = "LvnStringGrid";

  StringGrid() = default;
  ~StringGrid() override;

  // Registers the class on first use. A new grid has one column, one row, no header row.
  bool Create(const StringGridArgs& args);

  // Before the grid handles WM_KEYDOWN or WM_SYSKEYDOWN: a virtual-key code and the
  // modifiers held. Setting key to 0 consumes the key; changing it makes the grid handle
  // the new key instead.
  std::function<void(WORD& key, bool shift, bool ctrl, bool alt)> on_key_down;
  // Before the current row moves to another row, by key, mouse or SetRow. Row() still gives
  // the old row here. col is the column clicked, or the current column for other moves.
  std::function<void(int col, int row)> on_select_cell;
  // Right click or the context-menu key, at a screen point (below the current row for the
  // key). Without it, WM_CONTEXTMENU goes on to the parent.
  std::function<void(POINT screen)> on_context_menu;

  // The font the cells are drawn in; the owner keeps it alive while the grid uses it.
  // Null selects the default GUI font.
  void SetFont(HFONT font);
  HFONT Font() const { return font_; }
  // The row height, the text's inset and the column borders' grip for a display of dpi;
  // the column widths stay the owner's to scale.
  void SetDpi(UINT dpi);

  // The grid shows source, which must outlive the window or be replaced first. Call again
  // whenever the source's counts or texts changed: the grid takes the new shape, with
  // fixed_rows header rows while a data row follows them (otherwise the header turns into
  // a data row, so that one selectable row always remains), keeps its column widths,
  // clamps the current row, the selection and the top row to what remains without
  // on_select_cell, and repaints once. Null shows one empty cell.
  void SetSource(const GridCellSource* source, int fixed_rows);
  int ColCount() const { return model_.ColCount(); }
  int RowCount() const { return model_.RowCount(); }
  int FixedRows() const { return model_.FixedRows(); }

  // False for a column outside the grid or a width outside 0 .. 32767.
  bool SetColWidth(int col, int width);
  // -1 for a column outside the grid.
  int ColWidth(int col) const { return model_.ColWidth(col); }

  // The current row: always a data row.
  int Row() const { return model_.Row(); }
  // Moves the current row as a key or click would: raises on_select_cell, collapses the
  // selection to the row and scrolls just far enough to show it. The current row itself
  // changes nothing. False for a row that is not a data row.
  bool SetRow(int row);
  // The selected rows, top <= bottom.
  RowRange Selection() const { return model_.Selection(); }
  // Selects top .. bottom and makes current the current row (clamped to the data rows;
  // current may lie outside the range), without on_select_cell and without scrolling.
  // Shift with a key or click then extends from the end farther from current.
  void SetSelection(int top, int bottom, int current);

  // The first data row in view.
  int TopRow() const { return model_.TopRow(); }
  // Clamped between the first data row and the row that puts the last row at the bottom.
  void SetTopRow(int row);
  // Data rows that fit completely in the client area below the header, however many exist.
  int VisibleDataRows() const { return model_.VisibleDataRows(); }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // What other processes may read (string_grid_access_win.cpp). True, with *answer, for a
  // message of theirs.
  bool AnswerReader(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* answer);
  LRESULT OnGetText(WPARAM capacity, LPARAM buffer) const;
  // AccessibleSource
  long AccRole() const override;
  long AccChildRole() const override;
  long AccChildCount() const override;
  std::string AccChildName(long child) const override;
  unsigned AccChildState(long child) const override;
  bool AccChildRect(long child, RECT* client) const override;
  long AccChildAt(POINT client) const override;
  long AccFocusChild() const override;
  std::vector<long> AccSelectedChildren() const override;
  // Tells readers what changed since the current row and the selection were these.
  void TellMoves(int old_row, RowRange old_selection);

  // A move of the current row by any cause.
  void MoveCurrent(GridMove move, bool extend, int col);
  void MoveCurrent(int row, bool extend, int col);
  // After a change of shape or view: scroll bar and paint.
  void Refresh();
  void Invalidate();
  void UpdateScrollBar();
  void Paint(HDC dc, const RECT& client) const;
  void PaintBuffered(HDC dc, const RECT& client) const;
  void PaintRow(HDC dc, int row, const RECT& client) const;
  // The cell's text in text_, valid until the next call.
  const std::string& TextOf(int col, int row) const;

  // The user's keys and mouse (string_grid_input_win.cpp). True, with *answer, for a
  // message the grid takes.
  bool HandleInput(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* answer);
  LRESULT OnKeyDown(UINT message, WPARAM wparam, LPARAM lparam);
  void OnLeftButtonDown(WPARAM wparam, int x, int y);
  void OnMouseMove(int x, int y);
  void OnDragTimer();
  void EndMouseTracking();
  bool OnSetCursor();
  void OnVScroll(WORD request);
  void OnMouseWheel(int delta);
  // Only with on_context_menu set.
  void OnContextMenu(LPARAM lparam);

  GridModel model_;
  // What the scroll bar was last given.
  struct ScrollState {
    int max = -1, page = 0, pos = 0;
    friend bool operator==(const ScrollState&, const ScrollState&) = default;
  };
  ScrollState scroll_;
  const GridCellSource* source_ = nullptr;
  // One buffer for every text asked of the source.
  mutable std::string text_;
  HFONT font_ = nullptr;
  // The text's distance from its cell's left edge, 2 pixels at 96 DPI.
  static constexpr int kTextInset = 2;
  int text_inset_ = kTextInset;
  // Column border being dragged, or -1.
  int sizing_col_ = -1;
  int sizing_start_x_ = 0;
  int sizing_start_width_ = 0;
  bool selecting_ = false;
  // The cell WM_GETTEXT reads, as kGridMsgSetQueryCell chose it.
  int query_col_ = 0;
  int query_row_ = 0;
  AccessibleLink access_{this};
};

}  // namespace lvn::ui
