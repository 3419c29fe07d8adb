// How the grid draws itself: into a bitmap first, so that a scroll or a reload never
// flickers.
#include <algorithm>
#include <climits>

#include "ui/gdi_scope_win.h"
#include "ui/string_grid_win.h"
#include "util/wide_text_win.h"

namespace lvn::ui {

namespace {

void FillSolid(HDC dc, int left, int top, int right, int bottom, int color_index) {
  const RECT rect{left, top, right, bottom};
  ::FillRect(dc, &rect, ::GetSysColorBrush(color_index));
}

}  // namespace

void StringGrid::PaintBuffered(HDC dc, const RECT& client) const {
  if (client.right <= 0 || client.bottom <= 0) return;
  ScopedCreatedDc memory(::CreateCompatibleDC(dc));
  ScopedBitmap bitmap(::CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (!memory || !bitmap) {
    // Short of GDI resources a flicker is better than an empty grid.
    Paint(dc, client);
    return;
  }
  ScopedSelect select(memory.Get(), bitmap.Get());
  Paint(memory.Get(), client);
  ::BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

void StringGrid::Paint(HDC dc, const RECT& client) const {
  FillSolid(dc, 0, 0, client.right, client.bottom, COLOR_BTNFACE);
  ScopedSelect font(dc, font_ != nullptr ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);

  const int pitch = model_.RowPitch();
  const int right = std::min(model_.TotalWidth(), static_cast<int>(client.right));
  int bottom = 0;
  auto paint_row = [&](int row) {
    const int top = model_.RowTop(row);
    if (top >= client.bottom) return false;
    PaintRow(dc, row, client);
    FillSolid(dc, 0, top + model_.RowHeight(), right, top + pitch, COLOR_BTNSHADOW);
    bottom = top + pitch;
    return true;
  };
  for (int row = 0; row < model_.FixedRows(); ++row) {
    if (!paint_row(row)) break;
  }
  for (int row = model_.TopRow(); row <= model_.LastRow(); ++row) {
    if (!paint_row(row)) break;
  }
  for (int col = 0; col < model_.ColCount(); ++col) {
    const int line = model_.ColLeft(col) + model_.ColWidth(col);
    if (line >= client.right) break;
    FillSolid(dc, line, 0, line + GridModel::kLineWidth, bottom, COLOR_BTNSHADOW);
  }

  const int current_top = model_.RowTop(model_.Row());
  if (::GetFocus() == Handle() && current_top >= model_.HeaderHeight() &&
      current_top < client.bottom) {
    const RECT focus{0, current_top, right, current_top + model_.RowHeight()};
    ::DrawFocusRect(dc, &focus);
  }
}

void StringGrid::PaintRow(HDC dc, int row, const RECT& client) const {
  const bool header = row < model_.FixedRows();
  const bool highlighted = !header && model_.IsHighlighted(row);
  ::SetTextColor(dc, ::GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT
                                   : header    ? COLOR_BTNTEXT
                                               : COLOR_WINDOWTEXT));
  const int top = model_.RowTop(row);
  for (int col = 0; col < model_.ColCount(); ++col) {
    const int left = model_.ColLeft(col);
    if (left >= client.right) break;
    RECT cell{left, top, left + model_.ColWidth(col), top + model_.RowHeight()};
    if (header) {
      ::DrawEdge(dc, &cell, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    } else if (highlighted) {
      ::FillRect(dc, &cell, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    const std::string& text = TextOf(col, row);
    if (text.empty()) continue;
    const std::wstring wide = Wide(text);
    RECT inner = cell;
    inner.left = std::min(inner.left + text_inset_, inner.right);
    ::DrawTextW(dc, wide.data(), static_cast<int>(std::min<std::size_t>(wide.size(), INT_MAX)),
                &inner, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
  }
}

}  // namespace lvn::ui
