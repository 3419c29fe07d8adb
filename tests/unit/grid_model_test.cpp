#include "ui/grid_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace lvn::ui {
namespace {

constexpr int kPitch = GridModel::kDefaultRowHeight + GridModel::kLineWidth;

// A header row, data rows 1 .. data_rows and room for exactly `visible` whole data rows.
GridModel MakeGrid(int data_rows, int visible) {
  GridModel grid;
  grid.SetColCount(3);
  grid.SetRowCount(data_rows + 1);
  EXPECT_TRUE(grid.SetFixedRows(1));
  grid.SetClientHeight(kPitch + visible * kPitch + kPitch - 1);
  return grid;
}

struct Key {
  GridKey key;
  bool shift;
};
constexpr Key Up{GridKey::kUp, false}, Down{GridKey::kDown, false},
    PgUp{GridKey::kPageUp, false}, PgDn{GridKey::kPageDown, false}, Home{GridKey::kHome, false},
    End{GridKey::kEnd, false}, ShUp{GridKey::kUp, true}, ShDown{GridKey::kDown, true},
    ShEnd{GridKey::kEnd, true};

void Press(GridModel& g, const std::vector<Key>& keys) {
  for (const Key& k : keys) g.Apply(g.KeyMove(k.key), k.shift);
}
void Start(GridModel& g, int row, int top) {
  g.MoveTo(row, false);
  g.SetTopRow(top);
}

#define DO(...) [](GridModel& g) { __VA_ARGS__; }

// 30 data rows with 10 in view: the top row runs from 1 to 21.
TEST(GridModel, RowSelectionAndView) {
  const struct {
    const char* label;
    // Expected after act.
    int row;
    RowRange selection;
    int top;
    std::function<void(GridModel&)> act;
  } cases[] = {
      {"down", 2, {2, 2}, 1, DO(Press(g, {Down}))},
      {"down past the view scrolls one row", 11, {11, 11}, 2,
       DO(Press(g, std::vector<Key>(10, Down)))},
      {"up above the view scrolls to it", 11, {11, 11}, 11, DO(Start(g, 12, 15); Press(g, {Up}))},
      {"end", 30, {30, 30}, 21, DO(Press(g, {End, Down}))},
      {"home", 1, {1, 1}, 1, DO(Start(g, 25, 21); Press(g, {Home}))},
      {"page down turns the view too", 13, {13, 13}, 11, DO(Start(g, 3, 1); Press(g, {PgDn}))},
      {"page down at the end, page up", 20, {20, 20}, 11,
       DO(Start(g, 3, 1); Press(g, {PgDn, PgDn, PgDn, PgUp}))},
      {"shift across the anchor", 3, {3, 5}, 1,
       DO(Start(g, 5, 1); Press(g, {ShDown, ShDown, ShUp, ShUp, ShUp, ShUp}))},
      {"a plain key collapses", 30, {30, 30}, 21, DO(Start(g, 5, 1); Press(g, {ShEnd, Down}))},
      {"the header is not selectable", 1, {1, 1}, 1, DO(g.MoveTo(0, false))},
      {"the view may leave the current row", 30, {30, 30}, 1, DO(Start(g, 99, 1))},
      {"select all: no scrolling", 30, {1, 30}, 4, DO(g.SetTopRow(4); g.SetSelection(99, 0, 99))},
      {"select all, then shift", 29, {1, 29}, 20, DO(g.SetSelection(1, 30, 30); Press(g, {ShUp}))},
      {"from the top end of a range", 6, {6, 30}, 1,
       DO(g.SetSelection(5, 30, 5); Press(g, {ShDown}))},
      {"rows shrink below the current row", 20, {5, 20}, 11,
       DO(Start(g, 5, 1); g.MoveTo(25, true); g.SetRowCount(21))},
      {"rows shrink below the selection", 10, {10, 10}, 1,
       DO(Start(g, 25, 19); g.MoveTo(28, true); g.SetRowCount(11))},
      {"the client grows", 30, {30, 30}, 11, DO(Start(g, 30, 21); g.SetClientHeight(21 * kPitch))},
  };
  for (const auto& c : cases) {
    GridModel grid = MakeGrid(30, 10);
    c.act(grid);
    EXPECT_EQ(grid.Row(), c.row) << c.label;
    EXPECT_EQ(grid.Selection(), c.selection) << c.label;
    EXPECT_EQ(grid.TopRow(), c.top) << c.label;
  }
  GridModel grid = MakeGrid(30, 10);
  grid.SetSelection(10, 12, 20);
  for (int row : {10, 12, 20}) EXPECT_TRUE(grid.IsHighlighted(row)) << row;
  for (int row : {9, 13, 19}) EXPECT_FALSE(grid.IsHighlighted(row)) << row;
}

TEST(GridModel, ASingleRowWithoutHeaderIsSelectable) {
  GridModel grid = MakeGrid(3, 15);
  grid.MoveTo(2, false);
  grid.SetRowCount(1);
  EXPECT_EQ(grid.FixedRows(), 0);
  EXPECT_EQ(grid.Row(), 0);
  EXPECT_EQ(grid.Selection(), (RowRange{0, 0}));
  EXPECT_EQ(grid.TopRow(), 0);
  for (GridKey key : {GridKey::kUp, GridKey::kDown, GridKey::kPageDown, GridKey::kEnd}) {
    EXPECT_EQ(grid.KeyMove(key), (GridMove{0, 0}));
  }
  EXPECT_EQ(grid.RowAt(5), 0);
  EXPECT_EQ(grid.ColumnBorderAt(100, 5), -1) << "no header to size columns in";
  EXPECT_FALSE(grid.SetFixedRows(1)) << "a grid keeps one data row";
  grid.SetRowCount(2);
  EXPECT_TRUE(grid.SetFixedRows(1));
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.TopRow(), 1);
}

TEST(GridModel, VisibleDataRowsAndTheScrollBar) {
  const struct {
    int client_height, fixed, row_count, visible;
    bool scroll_bar;
  } cases[] = {
      // A 342-pixel grid inside a 2-pixel edge: 15 data rows below the header.
      {338, 1, 16, 15, false}, {338, 1, 17, 15, true},
      {21 + 15 * 21 - 1, 1, 16, 14, true},  // the last grid line must fit too
      {20, 1, 2, 0, true},     {21, 0, 1, 1, false},  {338, 0, 1, 16, false},
  };
  for (const auto& c : cases) {
    GridModel grid;
    grid.SetRowCount(c.row_count);
    grid.SetFixedRows(c.fixed);
    grid.SetClientHeight(c.client_height);
    EXPECT_EQ(grid.VisibleDataRows(), c.visible) << c.client_height;
    EXPECT_EQ(grid.NeedsScrollBar(), c.scroll_bar) << c.client_height << " " << c.row_count;
  }
}

TEST(GridModel, WheelTurnsGatherIntoWholeNotches) {
  GridModel grid;
  // Turning back drops what was gathered the other way.
  const int turns[][2] = {{120, -3}, {60, 0}, {60, -3}, {40, 0}, {-40, 0}, {-60, 0}, {-20, 3}};
  for (const auto& t : turns) EXPECT_EQ(grid.TakeWheelRows(t[0], 3), t[1]) << &t - turns;
}

TEST(GridModel, RowHitTests) {
  GridModel grid = MakeGrid(30, 10);
  grid.SetTopRow(5);
  // y: header 0..20, row 5 from 21, the partly shown row 15 from 231.
  const int cases[][4] = {
      // y, RowAt, DragRowAt, IsOutsideDataView
      {-5, -1, 4, 1}, {20, 0, 4, 1}, {21, 5, 5, 0}, {41, 5, 5, 0}, {42, 6, 6, 0},
      {230, 14, 14, 0}, {231, 15, 15, 1}, {900, -1, 15, 1},  // far below: one row at a time
  };
  for (const auto& c : cases) {
    EXPECT_EQ(grid.RowAt(c[0]), c[1]) << c[0];
    EXPECT_EQ(grid.DragRowAt(c[0]), c[2]) << c[0];
    EXPECT_EQ(grid.IsOutsideDataView(c[0]), c[3] != 0) << c[0];
  }
  EXPECT_EQ(grid.RowTop(7), 3 * kPitch);
  EXPECT_EQ(MakeGrid(2, 10).RowAt(3 * kPitch), -1) << "below the last row";
}

TEST(GridModel, ColumnHitTests) {
  GridModel grid = MakeGrid(5, 10);
  grid.SetColWidth(1, 0);
  grid.SetColWidth(2, 50);
  // Column 0 is x 0..99 with its line at 100, column 1 only its line at 101, column 2 is
  // 102..151 with its line at 152. Borders are grabbed within 2 pixels, in the header only.
  const int cases[][4] = {
      // x, y, ColAt, ColumnBorderAt
      {97, 5, 0, -1}, {98, 5, 0, 0},   {100, 5, 0, 1},   {101, 5, 1, 1},  {103, 5, 2, 1},
      {104, 5, 2, -1}, {152, 5, 2, 2}, {153, 5, -1, 2}, {-1, 5, -1, -1}, {100, 21, 0, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(grid.ColAt(c[0]), c[2]) << c[0];
    EXPECT_EQ(grid.ColumnBorderAt(c[0], c[1]), c[3]) << c[0] << "," << c[1];
  }
  EXPECT_EQ(grid.TotalWidth(), 153);
}

TEST(GridModel, ReshapingKeepsTheColumnWidthsThatRemain) {
  GridModel grid;
  grid.SetColCount(3);
  grid.SetRowCount(3);
  grid.SetColWidth(1, 75);
  grid.SetColCount(2);
  grid.SetRowCount(2);
  grid.SetRowCount(3);
  grid.SetColCount(3);
  EXPECT_EQ(grid.ColWidth(1), 75);
  EXPECT_EQ(grid.ColWidth(2), GridModel::kDefaultColWidth);
  EXPECT_FALSE(grid.SetColWidth(0, -1));
  EXPECT_FALSE(grid.Contains(3, 0));
  EXPECT_TRUE(grid.Contains(2, 2));
  // A shape without a data row below the header turns the header into the data row.
  const int shapes[][4] = {
      // rows, fixed rows asked, fixed rows got, current row
      {5, 1, 1, 4}, {1, 1, 0, 0}, {2, 1, 1, 1}, {0, 1, 0, 0},
  };
  grid.SetShape(5, 3, 1);
  grid.MoveTo(4, false);
  for (const auto& c : shapes) {
    grid.SetShape(c[0], 3, c[1]);
    EXPECT_EQ(grid.FixedRows(), c[2]) << c[0];
    EXPECT_EQ(grid.Row(), c[3]) << c[0];
  }
}

TEST(FittingTextLength, CountsUtf16UnitsAndNeverSplitsASurrogatePair) {
  const std::u16string pair = u"😀";
  ASSERT_EQ(pair.size(), 2u);
  const struct {
    std::u16string text;
    std::size_t capacity, want;
  } cases[] = {
      {u"abc", 4, 3},       {u"abc", 3, 2},         {u"abc", 0, 0},       {u"通信", 2, 1},
      {pair, 3, 2},         {pair, 2, 0},           {u"a" + pair, 3, 1},  {u"a" + pair + u"b", 4, 3},
      {u"\xD800" u"b", 2, 1},  // a lone high surrogate is a unit of its own
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FittingTextLength(std::u16string_view(c.text), c.capacity), c.want)
        << c.text.size() << " in " << c.capacity;
  }
}

}  // namespace
}  // namespace lvn::ui
