// The grid as a screen reader meets it: a table whose rows are its children, and the
// events that tell the reader where the current row and the selection went.
#include <oleacc.h>

#include <algorithm>

#include "ui/grid_access.h"
#include "ui/string_grid_win.h"

namespace lvn::ui {

static_assert(kAccSelected == STATE_SYSTEM_SELECTED && kAccFocused == STATE_SYSTEM_FOCUSED &&
              kAccInvisible == STATE_SYSTEM_INVISIBLE && kAccOffscreen == STATE_SYSTEM_OFFSCREEN &&
              kAccFocusable == STATE_SYSTEM_FOCUSABLE &&
              kAccSelectable == STATE_SYSTEM_SELECTABLE);

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
