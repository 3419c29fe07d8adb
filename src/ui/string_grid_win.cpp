// The grid's shape and view, the moves of its current row and its window's life. The user's
// keys and mouse come in through string_grid_input_win.cpp, other processes read it through
// string_grid_access_win.cpp, and string_grid_paint_win.cpp draws it.
#include "ui/string_grid_win.h"

#include <string>

#include "ui/dpi_win.h"
#include "ui/gdi_scope_win.h"

namespace lvn::ui {

namespace {

bool RegisterOnce() {
  static const bool registered = [] {
    WindowClassArgs args;
    args.name = StringGrid::kClassName;
    // Every pixel is painted, from a buffer.
    args.background = nullptr;
    return Window::RegisterWindowClass(args) ||
           ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

StringGrid::~StringGrid() { DestroyHandle(); }

bool StringGrid::Create(const StringGridArgs& args) {
  if (!RegisterOnce()) return false;
  return CreateChild(kClassName, args.style, args.ex_style, args);
}

void StringGrid::SetDpi(UINT dpi) {
  model_.SetRowHeight(Scale(GridModel::kDefaultRowHeight, dpi));
  model_.SetBorderGrip(Scale(GridModel::kBorderGrip, dpi));
  text_inset_ = Scale(kTextInset, dpi);
  Refresh();
}

void StringGrid::SetFont(HFONT font) {
  font_ = font;
  Invalidate();
}

void StringGrid::SetSource(const GridCellSource* source, int fixed_rows) {
  source_ = source;
  if (source_ == nullptr) {
    model_.SetShape(1, 1, 0);
  } else {
    model_.SetShape(source_->GridRowCount(), source_->GridColCount(), fixed_rows);
  }
  Refresh();
  TellAccessEvent(Handle(), EVENT_OBJECT_REORDER, CHILDID_SELF);
}

const std::string& StringGrid::TextOf(int col, int row) const {
  text_.clear();
  if (source_ != nullptr && model_.Contains(col, row)) source_->GridCellText(col, row, &text_);
  return text_;
}

bool StringGrid::SetColWidth(int col, int width) {
  if (!model_.SetColWidth(col, width)) return false;
  Refresh();
  return true;
}

bool StringGrid::SetRow(int row) {
  if (row < model_.FirstDataRow() || row > model_.LastRow()) return false;
  if (row != model_.Row()) MoveCurrent(row, false, model_.Col());
  return true;
}

void StringGrid::SetSelection(int top, int bottom, int current) {
  const int old_row = model_.Row();
  const RowRange old_selection = model_.Selection();
  model_.SetSelection(top, bottom, current);
  Refresh();
  TellMoves(old_row, old_selection);
}

void StringGrid::SetTopRow(int row) {
  if (model_.SetTopRow(row)) Refresh();
}

void StringGrid::MoveCurrent(GridMove move, bool extend, int col) {
  move.row = model_.ClampToDataRow(move.row);
  if (move.row != model_.Row() && on_select_cell) on_select_cell(col, move.row);
  // The owner may have reshaped the grid in the callback; the model clamps to what is left.
  const int old_row = model_.Row();
  const RowRange old_selection = model_.Selection();
  model_.SetCol(col);
  model_.Apply(move, extend);
  Refresh();
  TellMoves(old_row, old_selection);
}

void StringGrid::MoveCurrent(int row, bool extend, int col) {
  MoveCurrent(GridMove{row, model_.TopRow()}, extend, col);
}

void StringGrid::Refresh() {
  if (Handle() == nullptr) return;
  UpdateScrollBar();
  Invalidate();
}

void StringGrid::Invalidate() {
  if (Handle() != nullptr) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void StringGrid::UpdateScrollBar() {
  const bool shown = (::GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VSCROLL) != 0;
  const bool needed = model_.NeedsScrollBar();
  const ScrollState wanted{model_.RowCount() - model_.FixedRows() - 1, model_.PageRows(),
                           model_.ScrollPos()};
  if (needed && wanted != scroll_) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = wanted.max;
    info.nPage = static_cast<UINT>(wanted.page);
    info.nPos = wanted.pos;
    // Drawn with the next paint rather than now: a reload may move it more than once.
    ::SetScrollInfo(Handle(), SB_VERT, &info, FALSE);
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    scroll_ = wanted;
  }
  // Showing or hiding changes the client width only, and WM_SIZE comes back here.
  if (needed != shown) ::ShowScrollBar(Handle(), SB_VERT, needed ? TRUE : FALSE);
}

LRESULT StringGrid::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT answer = 0;
  if (HandleInput(message, wparam, lparam, &answer) ||
      AnswerReader(message, wparam, lparam, &answer)) {
    return answer;
  }
  switch (message) {
    case WM_CREATE:
    case WM_SIZE: {
      RECT client{};
      ::GetClientRect(Handle(), &client);
      model_.SetClientHeight(client.bottom);
      Refresh();
      return message == WM_CREATE ? 0 : Window::OnMessage(message, wparam, lparam);
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintScope paint(Handle());
      RECT client{};
      ::GetClientRect(Handle(), &client);
      if (paint.Dc() != nullptr) PaintBuffered(paint.Dc(), client);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      ::GetClientRect(Handle(), &client);
      Paint(reinterpret_cast<HDC>(wparam), client);
      return 0;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wparam);
      if (LOWORD(static_cast<DWORD_PTR>(lparam)) != 0) Invalidate();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETFOCUS:
      Invalidate();
      // The system has told of the grid; the row that has the focus within it follows.
      TellAccessEvent(Handle(), EVENT_OBJECT_FOCUS, model_.Row() + 1);
      return 0;
    case WM_KILLFOCUS:
    case WM_SYSCOLORCHANGE:
      Invalidate();
      return 0;
    case WM_DESTROY:
      access_.Detach();
      break;
    default:
      break;
  }
  return Window::OnMessage(message, wparam, lparam);
}

}  // namespace lvn::ui
