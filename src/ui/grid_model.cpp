#include "ui/grid_model.h"

#include <algorithm>
#include <utility>

namespace lvn::ui {

GridModel::GridModel() : col_widths_(1, kDefaultColWidth) {}

void GridModel::SetColCount(int count) {
  count = std::max(count, 1);
  col_widths_.resize(static_cast<std::size_t>(count), kDefaultColWidth);
  col_count_ = count;
  col_ = std::min(col_, count - 1);
}

void GridModel::SetRowCount(int count) {
  row_count_ = std::max(count, 1);
  fixed_rows_ = std::min(fixed_rows_, row_count_ - 1);
  Clamp();
}

bool GridModel::SetFixedRows(int count) {
  if (count < 0 || count >= row_count_) return false;
  fixed_rows_ = count;
  Clamp();
  return true;
}

void GridModel::SetShape(int row_count, int col_count, int fixed_rows) {
  SetColCount(col_count);
  row_count_ = std::max(row_count, 1);
  fixed_rows_ = std::clamp(fixed_rows, 0, row_count_ - 1);
  Clamp();
}

bool GridModel::SetColWidth(int col, int width) {
  if (col < 0 || col >= col_count_ || width < 0 || width > kMaxColWidth) return false;
  col_widths_[static_cast<std::size_t>(col)] = width;
  return true;
}

int GridModel::ColWidth(int col) const {
  if (col < 0 || col >= col_count_) return -1;
  return col_widths_[static_cast<std::size_t>(col)];
}

int GridModel::ColLeft(int col) const {
  // Capped far beyond any screen, so that adding a width never overflows.
  constexpr long long kFarRight = 1 << 30;
  long long x = 0;
  for (int c = 0; c < std::min(col, col_count_) && x < kFarRight; ++c) {
    x += col_widths_[static_cast<std::size_t>(c)] + kLineWidth;
  }
  return static_cast<int>(std::min(x, kFarRight));
}

int GridModel::RowTop(int row) const {
  if (row < fixed_rows_) return row * RowPitch();
  return HeaderHeight() + (row - top_) * RowPitch();
}

void GridModel::SetRowHeight(int height) {
  row_height_ = std::max(height, 1);
  Clamp();
}

void GridModel::SetClientHeight(int height) {
  client_height_ = std::max(height, 0);
  Clamp();
}

int GridModel::VisibleDataRows() const {
  return std::max(client_height_ - HeaderHeight(), 0) / RowPitch();
}

int GridModel::PageRows() const { return std::max(VisibleDataRows(), 1); }

bool GridModel::NeedsScrollBar() const { return row_count_ - fixed_rows_ > VisibleDataRows(); }

int GridModel::ClampToDataRow(int row) const { return std::clamp(row, FirstDataRow(), LastRow()); }

void GridModel::SetCol(int col) { col_ = std::clamp(col, 0, col_count_ - 1); }

bool GridModel::IsHighlighted(int row) const {
  return row == current_ || (row >= selection_.top && row <= selection_.bottom);
}

void GridModel::MoveTo(int row, bool extend) {
  current_ = ClampToDataRow(row);
  if (!extend) anchor_ = current_;
  selection_ = {std::min(anchor_, current_), std::max(anchor_, current_)};
  ScrollIntoView(current_);
}

void GridModel::Apply(const GridMove& move, bool extend) {
  SetTopRow(move.top);
  MoveTo(move.row, extend);
}

void GridModel::SetSelection(int top, int bottom, int current) {
  top = ClampToDataRow(top);
  bottom = ClampToDataRow(bottom);
  if (top > bottom) std::swap(top, bottom);
  selection_ = {top, bottom};
  current_ = ClampToDataRow(current);
  anchor_ = current_ - top >= bottom - current_ ? top : bottom;
}

int GridModel::MaxTopRow() const {
  return std::max(FirstDataRow(), row_count_ - PageRows());
}

bool GridModel::SetTopRow(int row) {
  const int top = std::clamp(row, FirstDataRow(), MaxTopRow());
  if (top == top_) return false;
  top_ = top;
  return true;
}

void GridModel::ScrollIntoView(int row) {
  if (row < top_) {
    SetTopRow(row);
  } else if (row >= top_ + PageRows()) {
    SetTopRow(row - PageRows() + 1);
  }
}

void GridModel::Clamp() {
  current_ = ClampToDataRow(current_);
  anchor_ = ClampToDataRow(anchor_);
  selection_ = {ClampToDataRow(selection_.top), ClampToDataRow(selection_.bottom)};
  top_ = std::clamp(top_, FirstDataRow(), MaxTopRow());
}

GridMove GridModel::KeyMove(GridKey key) const {
  GridMove move{current_, top_};
  switch (key) {
    case GridKey::kUp: move.row = current_ - 1; break;
    case GridKey::kDown: move.row = current_ + 1; break;
    case GridKey::kHome: move.row = FirstDataRow(); break;
    case GridKey::kEnd: move.row = LastRow(); break;
    // A page key turns the view by a page and takes the current row along.
    case GridKey::kPageUp:
      move.row = current_ - PageRows();
      move.top = top_ - PageRows();
      break;
    case GridKey::kPageDown:
      move.row = current_ + PageRows();
      move.top = top_ + PageRows();
      break;
  }
  move.row = ClampToDataRow(move.row);
  move.top = std::clamp(move.top, FirstDataRow(), MaxTopRow());
  return move;
}

int GridModel::ScrollTarget(GridScroll scroll, int thumb) const {
  int top = top_;
  switch (scroll) {
    case GridScroll::kLineUp: top = top_ - 1; break;
    case GridScroll::kLineDown: top = top_ + 1; break;
    case GridScroll::kPageUp: top = top_ - PageRows(); break;
    case GridScroll::kPageDown: top = top_ + PageRows(); break;
    case GridScroll::kTop: top = FirstDataRow(); break;
    case GridScroll::kBottom: top = MaxTopRow(); break;
    case GridScroll::kThumb: top = FirstDataRow() + thumb; break;
  }
  return std::clamp(top, FirstDataRow(), MaxTopRow());
}

int GridModel::TakeWheelRows(int delta, int rows_per_notch) {
  // A reversal drops what was gathered the other way.
  if ((delta > 0 && wheel_delta_ < 0) || (delta < 0 && wheel_delta_ > 0)) wheel_delta_ = 0;
  wheel_delta_ += delta;
  const int notches = wheel_delta_ / kWheelDelta;
  wheel_delta_ -= notches * kWheelDelta;
  return -notches * rows_per_notch;
}

int GridModel::RowAt(int y) const {
  if (y < 0) return -1;
  if (y < HeaderHeight()) return y / RowPitch();
  const int row = top_ + (y - HeaderHeight()) / RowPitch();
  return row <= LastRow() ? row : -1;
}

int GridModel::ColAt(int x) const {
  if (x < 0) return -1;
  long long right = 0;
  for (int col = 0; col < col_count_; ++col) {
    right += col_widths_[static_cast<std::size_t>(col)] + kLineWidth;
    if (x < right) return col;
  }
  return -1;
}

int GridModel::DragRowAt(int y) const {
  if (y < HeaderHeight()) return ClampToDataRow(top_ - 1);
  const int row = top_ + std::min((y - HeaderHeight()) / RowPitch(), VisibleDataRows());
  return ClampToDataRow(row);
}

bool GridModel::IsOutsideDataView(int y) const {
  return y < HeaderHeight() || y >= HeaderHeight() + VisibleDataRows() * RowPitch();
}

int GridModel::ColumnBorderAt(int x, int y) const {
  if (y < 0 || y >= HeaderHeight()) return -1;
  for (int col = col_count_ - 1; col >= 0; --col) {
    const int border = ColLeft(col) + col_widths_[static_cast<std::size_t>(col)];
    if (x >= border - border_grip_ && x <= border + border_grip_) return col;
  }
  return -1;
}

}  // namespace lvn::ui
