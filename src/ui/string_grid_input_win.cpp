// How the user drives the grid: keys, the mouse (rows selected by click and drag, column
// borders dragged in the header), the wheel and the scroll bar.
#include <algorithm>

#include "ui/string_grid_win.h"

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

}  // namespace

bool StringGrid::HandleInput(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* answer) {
  LRESULT result = 0;
  switch (message) {
    case WM_GETDLGCODE:
      result = DLGC_WANTARROWS;
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      result = OnKeyDown(message, wparam, lparam);
      break;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(wparam, LowSigned(lparam), HighSigned(lparam));
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(LowSigned(lparam), HighSigned(lparam));
      break;
    case WM_LBUTTONUP:
      // The selection ends where the button comes up, should no move to there have come.
      OnMouseMove(LowSigned(lparam), HighSigned(lparam));
      EndMouseTracking();
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lparam) != Handle()) EndMouseTracking();
      break;
    case WM_TIMER:
      if (wparam != kDragTimer) return false;
      OnDragTimer();
      break;
    case WM_SETCURSOR:
      if (LOWORD(static_cast<DWORD_PTR>(lparam)) != HTCLIENT || !OnSetCursor()) return false;
      result = TRUE;
      break;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wparam));
      break;
    case WM_MOUSEWHEEL:
      OnMouseWheel(static_cast<short>(HIWORD(wparam)));
      break;
    case WM_CONTEXTMENU:
      // Without a handler the menu is the parent's to show.
      if (!on_context_menu) return false;
      OnContextMenu(lparam);
      break;
    default:
      return false;
  }
  *answer = result;
  return true;
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

void StringGrid::OnContextMenu(LPARAM lparam) {
  POINT point{LowSigned(lparam), HighSigned(lparam)};
  if (point.x == -1 && point.y == -1) {
    // From the keyboard: just below the start of the current row.
    point = {text_inset_, model_.RowTop(model_.Row()) + model_.RowHeight()};
    ::ClientToScreen(Handle(), &point);
  }
  on_context_menu(point);
}

}  // namespace lvn::ui
