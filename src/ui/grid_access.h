// What a screen reader learns of a string grid, decided without a window: a row's name,
// its state bits and the event a change of the selection is told with. The grid's
// accessible object (ui/string_grid_access_win.cpp) only hands these on.
#pragma once

#include <string>

#include "ui/grid_model.h"

namespace lvn::ui {

// State bits as Active Accessibility defines them (STATE_SYSTEM_* in <oleacc.h>; the
// window side checks that the values agree).
enum AccessState : unsigned {
  kAccSelected = 0x2,
  kAccFocused = 0x4,
  kAccInvisible = 0x8000,
  kAccOffscreen = 0x10000,
  kAccFocusable = 0x100000,
  kAccSelectable = 0x200000,
};

// A row as a reader says it: its cells without the blanks around each text (the indent
// some texts carry is not heard), the non-empty ones joined by one space. The header row
// gives the column titles.
std::string GridRowName(const GridCellSource& source, int row, int col_count);

// The state of a row of model: data rows are focusable and selectable (header rows are
// neither), highlighted rows selected, the current row focused while the grid has the
// keyboard focus; a data row scrolled out of the client area is offscreen and invisible.
unsigned GridRowState(const GridModel& model, int row, bool grid_focused);

// How a change of the selected rows is told.
enum class SelectionEvent {
  kNone,       // nothing changed
  kSelection,  // the selection is now exactly one row
  kAdd,        // one row joined the selection
  kRemove,     // one row left it
  kWithin,     // anything else: the reader asks again
};
struct SelectionChange {
  SelectionEvent event = SelectionEvent::kNone;
  int row = -1;  // the row the event names; -1 for kNone and kWithin
  friend bool operator==(const SelectionChange&, const SelectionChange&) = default;
};
// The selected rows are a range and the current row, which lies inside the range unless
// the owner set it apart (StringGrid::SetSelection).
struct RowsSelected {
  RowRange range;
  int current = 0;
};
SelectionChange ChangeOfSelection(RowsSelected before, RowsSelected after);

}  // namespace lvn::ui
