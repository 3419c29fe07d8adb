#include "ui/grid_access.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lvn::ui {
namespace {

class Cells : public GridCellSource {
 public:
  explicit Cells(std::vector<std::vector<std::string>> rows) : rows_(std::move(rows)) {}
  int GridRowCount() const override { return static_cast<int>(rows_.size()); }
  int GridColCount() const override { return 3; }
  void GridCellText(int col, int row, std::string* text) const override {
    *text = rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

TEST(GridAccess, RowNames) {
  const Cells cells({{"日付", "時刻", "内容"},
                     {"2026/12/08", "18:18:31", "203.0.113.1"},
                     {"2026/12/08", "18:20:00", "  確認失敗 "},
                     {"", "", ""},
                     {"2026/12/09", "", "x"}});
  const char* const expected[] = {"日付 時刻 内容", "2026/12/08 18:18:31 203.0.113.1",
                                  "2026/12/08 18:20:00 確認失敗", "", "2026/12/09 x"};
  for (int row = 0; row < 5; ++row) {
    EXPECT_EQ(GridRowName(cells, row, 3), expected[row]) << "row " << row;
  }
}

constexpr int kPitch = GridModel::kDefaultRowHeight + GridModel::kLineWidth;
constexpr unsigned kData = kAccFocusable | kAccSelectable;
constexpr unsigned kAway = kAccOffscreen | kAccInvisible;

// A header row and 20 data rows, 5 whole ones in view and a sixth cut at the bottom; the
// view starts at row 4, row 6 is current and rows 5 .. 7 are selected.
TEST(GridAccess, RowStates) {
  GridModel grid;
  grid.SetColCount(3);
  grid.SetRowCount(21);
  ASSERT_TRUE(grid.SetFixedRows(1));
  grid.SetClientHeight(kPitch + 5 * kPitch + kPitch / 2);
  grid.SetSelection(5, 7, 6);
  ASSERT_TRUE(grid.SetTopRow(4));
  const struct {
    int row;
    bool focused;
    unsigned state;
  } cases[] = {
      {0, true, 0},                                     // header: nothing to select
      {3, true, kData | kAway},                         // above the view
      {4, true, kData},                                 // first row in view
      {5, true, kData | kAccSelected},                  // selected
      {6, true, kData | kAccSelected | kAccFocused},    // current
      {6, false, kData | kAccSelected},                 // current, focus elsewhere
      {9, true, kData},                                 // the row cut at the bottom
      {10, true, kData | kAway},                        // below the view
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GridRowState(grid, c.row, c.focused), c.state)
        << "row " << c.row << (c.focused ? " focused" : "");
  }
  // A current row outside the selected range still shows, and is heard, as selected.
  grid.SetSelection(2, 3, 8);
  EXPECT_EQ(GridRowState(grid, 8, true), kData | kAccSelected | kAccFocused);
}

TEST(GridAccess, SelectionEvents) {
  using E = SelectionEvent;
  const struct {
    RowsSelected before, after;
    SelectionChange change;
  } cases[] = {
      {{{3, 3}, 3}, {{3, 3}, 3}, {E::kNone, -1}},
      {{{3, 3}, 3}, {{4, 4}, 4}, {E::kSelection, 4}},   // arrow key
      {{{3, 9}, 9}, {{5, 5}, 5}, {E::kSelection, 5}},   // click after a range
      {{{3, 3}, 3}, {{3, 4}, 4}, {E::kAdd, 4}},         // Shift+Down
      {{{3, 4}, 3}, {{2, 4}, 2}, {E::kAdd, 2}},         // Shift+Up above the range
      {{{3, 5}, 5}, {{3, 4}, 4}, {E::kRemove, 5}},      // Shift+Up back
      {{{3, 5}, 3}, {{4, 5}, 4}, {E::kRemove, 3}},
      {{{3, 3}, 3}, {{3, 9}, 9}, {E::kWithin, -1}},     // Shift+PageDown
      {{{1, 4}, 4}, {{6, 9}, 9}, {E::kWithin, -1}},
      {{{3, 5}, 5}, {{3, 5}, 4}, {E::kNone, -1}},       // current moves inside the range
      // A current row set apart from the range is selected too: one event cannot say it.
      {{{3, 3}, 3}, {{3, 4}, 8}, {E::kWithin, -1}},
      {{{3, 4}, 8}, {{3, 4}, 9}, {E::kWithin, -1}},
      {{{3, 4}, 8}, {{3, 4}, 8}, {E::kNone, -1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChangeOfSelection(c.before, c.after), c.change)
        << c.before.range.top << ".." << c.before.range.bottom << "@" << c.before.current
        << " -> " << c.after.range.top << ".." << c.after.range.bottom << "@"
        << c.after.current;
  }
}

}  // namespace
}  // namespace lvn::ui
