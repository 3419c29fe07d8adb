#include "ui/string_grid_win.h"

#include <oleacc.h>

#include <algorithm>
#include <utility>

#include "ui/dpi_win.h"
#include "ui/gdi_scope_win.h"
#include "util/wide_text_win.h"

namespace lvn::ui {

namespace {

constexpr UINT_PTR kDragTimer = 1;
constexpr UINT kDragTimerMs = 50;

// Mouse coordinates are signed: left of or above the window while the mouse is captured.
int LowSigned(LPARAM lparam) { return static_cast<short>(LOWORD(lparam)); }
int HighSigned(LPARAM lparam) { return static_cast<short>(HIWORD(lparam)); }

bool IsDown(int virtual_key) { return ::GetKeyState(virtual_key) < 0; }

bool NavigationKey(WORD key, GridKey* nav) {
  switch (key) {
    case VK_UP: *nav = GridKey::kUp; return true;
    case VK_DOWN: *nav = GridKey::kDown; return true;
    case VK_PRIOR: *nav = GridKey::kPageUp; return true;
    case VK_NEXT: *nav = GridKey::kPageDown; return true;
    case VK_HOME: *nav = GridKey::kHome; return true;
    case VK_END: *nav = GridKey::kEnd; return true;
    default: return false;
  }
}

bool ScrollRequest(WORD request, GridScroll* scroll) {
  switch (request) {
    case SB_LINEUP: *scroll = GridScroll::kLineUp; return true;
    case SB_LINEDOWN: *scroll = GridScroll::kLineDown; return true;
    case SB_PAGEUP: *scroll = GridScroll::kPageUp; return true;
    case SB_PAGEDOWN: *scroll = GridScroll::kPageDown; return true;
    case SB_TOP: *scroll = GridScroll::kTop; return true;
    case SB_BOTTOM: *scroll = GridScroll::kBottom; return true;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: *scroll = GridScroll::kThumb; return true;
    default: return false;
  }
}

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
    case WM_GETOBJECT: {
      LRESULT answer = 0;
      if (access_.Answer(Handle(), wparam, lparam, &answer)) return answer;
      break;
    }
    case WM_DESTROY:
      access_.Detach();
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return OnKeyDown(message, wparam, lparam);
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(wparam, LowSigned(lparam), HighSigned(lparam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(LowSigned(lparam), HighSigned(lparam));
      return 0;
    case WM_LBUTTONUP:
      // The selection ends where the button comes up, should no move to there have come.
      OnMouseMove(LowSigned(lparam), HighSigned(lparam));
      EndMouseTracking();
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != Handle()) EndMouseTracking();
      return 0;
    case WM_TIMER:
      if (wparam == kDragTimer) {
        OnDragTimer();
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (LOWORD(static_cast<DWORD_PTR>(lparam)) == HTCLIENT && OnSetCursor()) return TRUE;
      break;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wparam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(static_cast<short>(HIWORD(wparam)));
      return 0;
    case WM_CONTEXTMENU:
      return OnContextMenu(wparam, lparam);
    case WM_GETTEXT:
      return OnGetText(wparam, lparam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(Wide(TextOf(query_col_, query_row_)).size());
    case kGridMsgGetRowCount:
      return model_.RowCount();
    case kGridMsgGetFixedRows:
      return model_.FixedRows();
    case kGridMsgGetRow:
      return model_.Row();
    case kGridMsgGetSelectionTop:
      return model_.Selection().top;
    case kGridMsgGetSelectionBottom:
      return model_.Selection().bottom;
    case kGridMsgGetTopRow:
      return model_.TopRow();
    case kGridMsgGetVisibleRows:
      return model_.VisibleDataRows();
    case kGridMsgGetColCount:
      return model_.ColCount();
    case kGridMsgGetColWidth:
      return wparam < static_cast<WPARAM>(model_.ColCount())
                 ? model_.ColWidth(static_cast<int>(wparam))
                 : -1;
    case kGridMsgGetRowHeight:
      return model_.RowHeight();
    case kGridMsgSetQueryCell:
      if (wparam >= static_cast<WPARAM>(model_.ColCount()) || lparam < 0 ||
          lparam >= model_.RowCount()) {
        return FALSE;
      }
      query_col_ = static_cast<int>(wparam);
      query_row_ = static_cast<int>(lparam);
      return TRUE;
    default:
      break;
  }
  return Window::OnMessage(message, wparam, lparam);
}

LRESULT StringGrid::OnKeyDown(UINT message, WPARAM wparam, LPARAM lparam) {
  WORD key = LOWORD(wparam);
  const bool shift = IsDown(VK_SHIFT);
  const bool ctrl = IsDown(VK_CONTROL);
  const bool alt = IsDown(VK_MENU) ||
                   (message == WM_SYSKEYDOWN && (HIWORD(lparam) & KF_ALTDOWN) != 0);
  if (on_key_down) on_key_down(key, shift, ctrl, alt);
  if (key == 0) return 0;
  GridKey nav{};
  if (!alt && NavigationKey(key, &nav)) {
    MoveCurrent(model_.KeyMove(nav), shift, model_.Col());
    return 0;
  }
  return Window::OnMessage(message, key, lparam);
}

void StringGrid::OnLeftButtonDown(WPARAM wparam, int x, int y) {
  ::SetFocus(Handle());
  const int border = model_.ColumnBorderAt(x, y);
  if (border >= 0) {
    sizing_col_ = border;
    sizing_start_x_ = x;
    sizing_start_width_ = model_.ColWidth(border);
    ::SetCapture(Handle());
    return;
  }
  const int row = model_.RowAt(y);
  if (row < model_.FirstDataRow()) return;
  const int col = model_.ColAt(x);
  // Shift held as the message says, or as the keys before it left the thread's key state:
  // some systems fill in the message's flags from one, some from the other.
  const bool shift = (wparam & MK_SHIFT) != 0 || IsDown(VK_SHIFT);
  MoveCurrent(row, shift, col >= 0 ? col : model_.Col());
  selecting_ = true;
  ::SetCapture(Handle());
  // Keeps a drag above or below the view scrolling while the mouse rests.
  ::SetTimer(Handle(), kDragTimer, kDragTimerMs, nullptr);
}

void StringGrid::OnMouseMove(int x, int y) {
  if (sizing_col_ >= 0) {
    ::SetCursor(SystemCursor(IDC_SIZEWE));
    const int width = std::clamp(sizing_start_width_ + x - sizing_start_x_, 0,
                                 GridModel::kMaxColWidth);
    if (model_.SetColWidth(sizing_col_, width)) Refresh();
    return;
  }
  if (!selecting_) return;
  const int row = model_.DragRowAt(y);
  if (row != model_.Row()) MoveCurrent(row, true, model_.Col());
}

void StringGrid::OnDragTimer() {
  if (!selecting_) return;
  POINT cursor{};
  if (!::GetCursorPos(&cursor) || !::ScreenToClient(Handle(), &cursor)) return;
  if (model_.IsOutsideDataView(cursor.y)) OnMouseMove(cursor.x, cursor.y);
}

void StringGrid::EndMouseTracking() {
  const bool tracking = selecting_ || sizing_col_ >= 0;
  selecting_ = false;
  sizing_col_ = -1;
  ::KillTimer(Handle(), kDragTimer);
  // Releasing sends WM_CAPTURECHANGED, which comes back here with nothing left to do.
  if (tracking && ::GetCapture() == Handle()) ::ReleaseCapture();
}

bool StringGrid::OnSetCursor() {
  POINT cursor{};
  if (!::GetCursorPos(&cursor) || !::ScreenToClient(Handle(), &cursor)) return false;
  if (sizing_col_ < 0 && model_.ColumnBorderAt(cursor.x, cursor.y) < 0) return false;
  ::SetCursor(SystemCursor(IDC_SIZEWE));
  return true;
}

void StringGrid::OnVScroll(WORD request) {
  GridScroll scroll{};
  if (!ScrollRequest(request, &scroll)) return;
  int thumb = 0;
  if (scroll == GridScroll::kThumb) {
    // The 32-bit track position, not the 16 bits in the message.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    if (!::GetScrollInfo(Handle(), SB_VERT, &info)) return;
    thumb = info.nTrackPos;
  }
  SetTopRow(model_.ScrollTarget(scroll, thumb));
}

void StringGrid::OnMouseWheel(int delta) {
  UINT lines = 3;
  ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const int rows_per_notch =
      lines == WHEEL_PAGESCROLL ? model_.PageRows() : static_cast<int>(std::min(lines, 100u));
  const int rows = model_.TakeWheelRows(delta, rows_per_notch);
  if (rows != 0) SetTopRow(model_.TopRow() + rows);
}

LRESULT StringGrid::OnContextMenu(WPARAM wparam, LPARAM lparam) {
  if (!on_context_menu) return Window::OnMessage(WM_CONTEXTMENU, wparam, lparam);
  POINT point{LowSigned(lparam), HighSigned(lparam)};
  if (point.x == -1 && point.y == -1) {
    // From the keyboard: just below the start of the current row.
    point = {text_inset_, model_.RowTop(model_.Row()) + model_.RowHeight()};
    ::ClientToScreen(Handle(), &point);
  }
  on_context_menu(point);
  return 0;
}

LRESULT StringGrid::OnGetText(WPARAM capacity, LPARAM buffer) const {
  if (capacity == 0 || buffer == 0) return 0;
  const std::wstring text = Wide(TextOf(query_col_, query_row_));
  const std::size_t length =
      FittingTextLength(std::wstring_view(text), static_cast<std::size_t>(capacity));
  auto* out = reinterpret_cast<wchar_t*>(buffer);
  text.copy(out, length);
  out[length] = L'\0';
  return static_cast<LRESULT>(length);
}

}  // namespace lvn::ui
