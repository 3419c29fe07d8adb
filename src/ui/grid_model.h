// The state of a string grid without its window: its shape, column widths, the current
// row, the selected range of whole rows, the top row, and every decision about them that
// keys, mouse and scroll bar lead to. The window (StringGrid) only translates messages into
// calls here and paints what this holds; the texts come from a GridCellSource.
//
// Rows 0 .. FixedRows() - 1 are header rows: always shown at the top, never current or
// selected. The remaining rows are data rows; a grid always has at least one of them.
// Geometry: each row is RowHeight() pixels high followed by a grid line of one pixel, each
// column ColWidth(c) pixels wide followed by a grid line; the header rows start at y = 0 and
// the data rows from TopRow() on follow them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lvn::ui {

// Where a grid's texts live: the grid asks for a cell's text (UTF-8) when it paints or is
// asked for the cell, and keeps none of them.
class GridCellSource {
 public:
  virtual int GridRowCount() const = 0;
  virtual int GridColCount() const = 0;
  // *text := the text of the cell; the grid only asks for cells inside the counts.
  virtual void GridCellText(int col, int row, std::string* text) const = 0;

 protected:
  ~GridCellSource() = default;
};

// Whole rows top .. bottom, top <= bottom.
struct RowRange {
  int top = 0;
  int bottom = 0;
  friend bool operator==(const RowRange&, const RowRange&) = default;
};

enum class GridKey { kUp, kDown, kPageUp, kPageDown, kHome, kEnd };

enum class GridScroll { kLineUp, kLineDown, kPageUp, kPageDown, kTop, kBottom, kThumb };

// Where an input takes the grid: the current row and the top row to show.
struct GridMove {
  int row = 0;
  int top = 0;
  friend bool operator==(const GridMove&, const GridMove&) = default;
};

class GridModel {
 public:
  static constexpr int kDefaultColWidth = 100;
  static constexpr int kMaxColWidth = 0x7FFF;
  static constexpr int kDefaultRowHeight = 20;
  static constexpr int kLineWidth = 1;
  // How far from a column border in the header the mouse may be to grab it.
  static constexpr int kBorderGrip = 2;

  GridModel();

  // Shape. Counts below 1 are taken as 1; new columns get the default width. When the rows
  // shrink to FixedRows() or fewer, the header rows become data rows (a grid keeps at least
  // one data row).
  void SetColCount(int count);
  int ColCount() const { return col_count_; }
  void SetRowCount(int count);
  int RowCount() const { return row_count_; }
  // 0 .. RowCount() - 1; false and nothing changed otherwise.
  bool SetFixedRows(int count);
  int FixedRows() const { return fixed_rows_; }
  // All three at once: fixed_rows header rows while at least one data row follows them,
  // otherwise as many as leave one.
  void SetShape(int row_count, int col_count, int fixed_rows);
  bool Contains(int col, int row) const {
    return col >= 0 && col < col_count_ && row >= 0 && row < row_count_;
  }

  // False and nothing changed for a column outside the grid or a width outside
  // 0 .. kMaxColWidth.
  bool SetColWidth(int col, int width);
  // -1 for a column outside the grid.
  int ColWidth(int col) const;
  // At least 1; the display's scale sets it (kDefaultRowHeight at 96 DPI).
  void SetRowHeight(int height);
  int RowHeight() const { return row_height_; }
  int RowPitch() const { return RowHeight() + kLineWidth; }
  int HeaderHeight() const { return fixed_rows_ * RowPitch(); }
  // Left edge of a column in client coordinates (columns never scroll).
  int ColLeft(int col) const;
  // All columns with their grid lines.
  int TotalWidth() const { return ColLeft(col_count_); }
  // Top edge of a row in client coordinates; outside the client area when scrolled away.
  int RowTop(int row) const;

  // Client area height; the number of data rows that fit follows from it.
  void SetClientHeight(int height);
  int ClientHeight() const { return client_height_; }
  // Data rows that fit completely below the header rows, whether or not that many exist.
  int VisibleDataRows() const;
  // Rows a page key or page scroll moves by: VisibleDataRows() but at least 1.
  int PageRows() const;
  // True when not all data rows fit, so the vertical scroll bar shows.
  bool NeedsScrollBar() const;

  int FirstDataRow() const { return fixed_rows_; }
  int LastRow() const { return row_count_ - 1; }
  int ClampToDataRow(int row) const;

  int Row() const { return current_; }
  // The column a mouse click last went to; the grid selects whole rows regardless.
  int Col() const { return col_; }
  void SetCol(int col);
  RowRange Selection() const { return selection_; }
  // Highlighted: inside the selection, or the current row.
  bool IsHighlighted(int row) const;

  // The current row goes to row (clamped to the data rows) and is scrolled just into view.
  // With extend the selection runs from the anchor to it; otherwise it collapses to it and
  // the row becomes the anchor.
  void MoveTo(int row, bool extend);
  // Shows move.top, then moves to move.row as MoveTo does.
  void Apply(const GridMove& move, bool extend);
  // Sets a range and the current row as given (clamped), without scrolling; the current row
  // need not lie inside the range. Later extensions start from the end of the range farther
  // from the current row.
  void SetSelection(int top, int bottom, int current);

  int TopRow() const { return top_; }
  // Clamped so that the view never starts above the first data row or scrolls past the point
  // where the last row sits at the bottom. True when the top row changed.
  bool SetTopRow(int row);
  int MaxTopRow() const;
  // Smallest scroll that makes row fully visible.
  void ScrollIntoView(int row);

  // Decisions for input. None of them changes the model.
  GridMove KeyMove(GridKey key) const;
  // thumb: the scroll bar's position for kThumb (0 = first data row at the top).
  int ScrollTarget(GridScroll scroll, int thumb) const;
  // Scroll bar position of the current top row.
  int ScrollPos() const { return top_ - fixed_rows_; }
  // Adds a wheel turn (kWheelDelta per notch, positive away from the user) and gives the
  // rows to scroll by for the whole notches gathered so far; the rest waits for more.
  int TakeWheelRows(int delta, int rows_per_notch);
  static constexpr int kWheelDelta = 120;

  // Hit tests in client coordinates.
  // Any row (header rows too) under y; -1 outside the rows.
  int RowAt(int y) const;
  // Column under x, its right grid line included; -1 outside the columns.
  int ColAt(int x) const;
  // The data row a selecting drag reaches with the mouse at y: above the data area the row
  // above the view, below it the row below the view, so that holding the mouse there scrolls
  // one row at a time.
  int DragRowAt(int y) const;
  // True when y lies above or below the rows in view, where a selecting drag scrolls.
  bool IsOutsideDataView(int y) const;
  // How far from a column border a press still grabs it: kBorderGrip at 96 DPI.
  void SetBorderGrip(int grip) { border_grip_ = grip; }
  // The column whose right border is within the grip of x in a header row; -1 if none.
  // Of borders that coincide (zero-width columns) the rightmost wins, so it can be widened.
  int ColumnBorderAt(int x, int y) const;

 private:
  void Clamp();

  int col_count_ = 1;
  int row_count_ = 1;
  int fixed_rows_ = 0;
  std::vector<int> col_widths_;
  int client_height_ = 0;
  int row_height_ = kDefaultRowHeight;
  int border_grip_ = kBorderGrip;
  int current_ = 0;
  int anchor_ = 0;
  int col_ = 0;
  RowRange selection_;
  int top_ = 0;
  int wheel_delta_ = 0;
};

// How many units of a UTF-16 text fit into capacity units with a terminating zero, without
// cutting a surrogate pair in two.
template <class Unit>
std::size_t FittingTextLength(std::basic_string_view<Unit> text, std::size_t capacity) {
  static_assert(sizeof(Unit) == 2, "UTF-16 units");
  if (text.size() < capacity) return text.size();
  if (capacity == 0) return 0;
  std::size_t length = capacity - 1;
  const auto high = [](Unit u) { return u >= 0xD800 && u <= 0xDBFF; };
  const auto low = [](Unit u) { return u >= 0xDC00 && u <= 0xDFFF; };
  if (length > 0 && high(text[length - 1]) && low(text[length])) --length;
  return length;
}

}  // namespace lvn::ui
