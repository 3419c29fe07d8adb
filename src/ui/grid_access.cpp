#include "ui/grid_access.h"

#include "util/text.h"

namespace lvn::ui {

std::string GridRowName(const GridCellSource& source, int row, int col_count) {
  std::string name;
  std::string cell;
  for (int col = 0; col < col_count; ++col) {
    cell.clear();
    source.GridCellText(col, row, &cell);
    const std::string_view text = TrimBlanks(cell);
    if (text.empty()) continue;
    if (!name.empty()) name += ' ';
    name += text;
  }
  return name;
}

unsigned GridRowState(const GridModel& model, int row, bool grid_focused) {
  if (row < model.FirstDataRow()) return 0;
  unsigned state = kAccFocusable | kAccSelectable;
  if (model.IsHighlighted(row)) state |= kAccSelected;
  if (grid_focused && row == model.Row()) state |= kAccFocused;
  const int top = model.RowTop(row);
  // A row partly in view is on screen: a reader may read what shows of it.
  if (row < model.TopRow() || top >= model.ClientHeight()) {
    state |= kAccOffscreen | kAccInvisible;
  }
  return state;
}

namespace {
bool CurrentApart(const RowsSelected& rows) {
  return rows.current < rows.range.top || rows.current > rows.range.bottom;
}
}  // namespace

SelectionChange ChangeOfSelection(RowsSelected before_rows, RowsSelected after_rows) {
  const RowRange before = before_rows.range, after = after_rows.range;
  if (CurrentApart(before_rows) || CurrentApart(after_rows)) {
    if (before == after && before_rows.current == after_rows.current) return {};
    return {SelectionEvent::kWithin, -1};
  }
  if (before == after) return {};
  if (after.top == after.bottom) return {SelectionEvent::kSelection, after.top};
  if (after.top == before.top && after.bottom == before.bottom + 1) {
    return {SelectionEvent::kAdd, after.bottom};
  }
  if (after.bottom == before.bottom && after.top == before.top - 1) {
    return {SelectionEvent::kAdd, after.top};
  }
  if (after.top == before.top && after.bottom == before.bottom - 1) {
    return {SelectionEvent::kRemove, before.bottom};
  }
  if (after.bottom == before.bottom && after.top == before.top + 1) {
    return {SelectionEvent::kRemove, before.top};
  }
  return {SelectionEvent::kWithin, -1};
}

}  // namespace lvn::ui
