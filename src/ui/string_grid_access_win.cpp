// What other processes may read of the grid. A screen reader meets a table whose rows are
// its children, and events that tell it where the current row and the selection went;
// tests and tools ask through the grid's private messages (ui/string_grid_win.h) and
// WM_GETTEXT. All of it only reads: nothing another process sends changes what the user
// sees.
#include <oleacc.h>

#include <algorithm>
#include <string>

#include "ui/grid_access.h"
#include "ui/string_grid_win.h"
#include "util/wide_text_win.h"

namespace lvn::ui {

static_assert(kAccSelected == STATE_SYSTEM_SELECTED && kAccFocused == STATE_SYSTEM_FOCUSED &&
              kAccInvisible == STATE_SYSTEM_INVISIBLE && kAccOffscreen == STATE_SYSTEM_OFFSCREEN &&
              kAccFocusable == STATE_SYSTEM_FOCUSABLE &&
              kAccSelectable == STATE_SYSTEM_SELECTABLE);

bool StringGrid::AnswerReader(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* answer) {
  LRESULT result = 0;
  switch (message) {
    case WM_GETOBJECT:
      if (!access_.Answer(Handle(), wparam, lparam, &result)) return false;
      break;
    case WM_GETTEXT:
      result = OnGetText(wparam, lparam);
      break;
    case WM_GETTEXTLENGTH:
      result = static_cast<LRESULT>(Wide(TextOf(query_col_, query_row_)).size());
      break;
    case kGridMsgGetRowCount:
      result = model_.RowCount();
      break;
    case kGridMsgGetFixedRows:
      result = model_.FixedRows();
      break;
    case kGridMsgGetRow:
      result = model_.Row();
      break;
    case kGridMsgGetSelectionTop:
      result = model_.Selection().top;
      break;
    case kGridMsgGetSelectionBottom:
      result = model_.Selection().bottom;
      break;
    case kGridMsgGetTopRow:
      result = model_.TopRow();
      break;
    case kGridMsgGetVisibleRows:
      result = model_.VisibleDataRows();
      break;
    case kGridMsgGetColCount:
      result = model_.ColCount();
      break;
    case kGridMsgGetColWidth:
      result = wparam < static_cast<WPARAM>(model_.ColCount())
                   ? model_.ColWidth(static_cast<int>(wparam))
                   : -1;
      break;
    case kGridMsgGetRowHeight:
      result = model_.RowHeight();
      break;
    case kGridMsgSetQueryCell:
      // The one thing a reader sets, and it only chooses what WM_GETTEXT reads.
      if (wparam >= static_cast<WPARAM>(model_.ColCount()) || lparam < 0 ||
          lparam >= model_.RowCount()) {
        result = FALSE;
        break;
      }
      query_col_ = static_cast<int>(wparam);
      query_row_ = static_cast<int>(lparam);
      result = TRUE;
      break;
    default:
      return false;
  }
  *answer = result;
  return true;
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

void StringGrid::TellMoves(int old_row, RowRange old_selection) {
  const SelectionChange change =
      ChangeOfSelection({old_selection, old_row}, {model_.Selection(), model_.Row()});
  switch (change.event) {
    case SelectionEvent::kNone:
      break;
    case SelectionEvent::kSelection:
      TellAccessEvent(Handle(), EVENT_OBJECT_SELECTION, change.row + 1);
      break;
    case SelectionEvent::kAdd:
      TellAccessEvent(Handle(), EVENT_OBJECT_SELECTIONADD, change.row + 1);
      break;
    case SelectionEvent::kRemove:
      TellAccessEvent(Handle(), EVENT_OBJECT_SELECTIONREMOVE, change.row + 1);
      break;
    case SelectionEvent::kWithin:
      TellAccessEvent(Handle(), EVENT_OBJECT_SELECTIONWITHIN, CHILDID_SELF);
      break;
  }
  if (model_.Row() != old_row && Handle() != nullptr && ::GetFocus() == Handle()) {
    TellAccessEvent(Handle(), EVENT_OBJECT_FOCUS, model_.Row() + 1);
  }
}

long StringGrid::AccRole() const { return ROLE_SYSTEM_TABLE; }

long StringGrid::AccChildRole() const { return ROLE_SYSTEM_ROW; }

long StringGrid::AccChildCount() const { return source_ != nullptr ? model_.RowCount() : 0; }

std::string StringGrid::AccChildName(long child) const {
  if (source_ == nullptr) return {};
  return GridRowName(*source_, static_cast<int>(child - 1), model_.ColCount());
}

unsigned StringGrid::AccChildState(long child) const {
  return GridRowState(model_, static_cast<int>(child - 1), ::GetFocus() == Handle());
}

bool StringGrid::AccChildRect(long child, RECT* client) const {
  RECT area{};
  ::GetClientRect(Handle(), &area);
  const int top = model_.RowTop(static_cast<int>(child - 1));
  *client = {0, top, std::min(model_.TotalWidth(), static_cast<int>(area.right)),
             top + model_.RowHeight()};
  return true;
}

long StringGrid::AccChildAt(POINT client) const {
  const int row = model_.RowAt(client.y);
  return row >= 0 && client.x < model_.TotalWidth() ? row + 1 : 0;
}

long StringGrid::AccFocusChild() const { return model_.Row() + 1; }

std::vector<long> StringGrid::AccSelectedChildren() const {
  std::vector<long> children;
  const RowRange selection = model_.Selection();
  for (int row = selection.top; row <= selection.bottom; ++row) children.push_back(row + 1);
  const int current = model_.Row();
  if (current < selection.top || current > selection.bottom) {
    children.insert(current < selection.top ? children.begin() : children.end(), current + 1);
  }
  return children;
}

}  // namespace lvn::ui
