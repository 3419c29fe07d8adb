#include "history/history_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/log_format.h"
#include "history/log_write.h"
#include "sjis.h"
#include "util/texts.h"

namespace lvn {
namespace {

using Texts = std::vector<std::string>;
using Keys = std::vector<int32_t>;

const ViewSwitches kAll, kNone{false, false, false}, kNoChecks{false, true, true};

std::string Record(int key, int code, const std::string& text) {
  return std::to_string(key) + "," + std::to_string(code) + ",2019/07/04,09:05:03," +
         Sjis(text) + "\r\n";
}

std::string Cell(const HistoryView& view, int row, int column) {
  std::string text = "stale";
  view.CellText(row, column, &text);
  return text;
}

// Column 2 of every data row.
Texts Column2(const HistoryView& view) {
  Texts texts;
  for (int row = 1; row < view.RowCount(); ++row) texts.push_back(Cell(view, row, 2));
  return texts;
}

TEST(HistoryView, AMissingLogShowsTheHeaderAndOneEmptyRowWithoutAKey) {
  const HistoryView view;
  ASSERT_EQ(view.RowCount(), 2);
  EXPECT_EQ(Cell(view, 0, 0) + Cell(view, 0, 1) + Cell(view, 0, 2), "日付時刻適用");
  EXPECT_EQ(Cell(view, 1, 2), "");
  EXPECT_EQ(Cell(view, 2, 0), "");
  EXPECT_EQ(view.RowKeys(), Keys{-1});
  EXPECT_FALSE(view.FileFound());
  EXPECT_FALSE(RowsToDelete(view, 1, 1).Remove);
}

TEST(HistoryView, RowsKeysAndTheCompactionDecision) {
  const std::string five = Record(0, 0, "***") + Record(1, 1, "チェック開始") +
                           Record(2, 2, "チェック終了") + Record(3, 11, "通信エラー") +
                           Record(4, 12, "通信回復");
  const struct {
    std::string content;
    ViewSwitches view;
    Texts texts;
    Keys keys;
    bool compact;
    int32_t last_key;
  } cases[] = {
      {"", kAll, {}, {-1}, false, -1},
      {five + Record(5, 20, "1.2.3.4"), kAll,
       {"***", "チェック開始", "チェック終了", "  通信エラー", "  通信回復", "  1.2.3.4"},
       {-1, 0, 1, 2, 3, 4, 5}, false, 5},
      // Nothing to show still compacts, and the key counts the hidden records.
      {five, kNone, {}, {-1}, true, 4},
      {five, kNoChecks, {"***", "  通信エラー", "  通信回復"}, {-1, 0, 3, 4}, true, 4},
      {Record(0, 20, "a") + Record(1, 20, "b") + Record(2, 20, "c") + Record(0, 20, "d"), kAll,
       {"  a", "  b", "  c", "  d"}, {-1, 0, 1, 2, 3}, true, 3},
      {Record(0, 20, "a") + "junk\r\n" + Record(1, 5, "x") + Record(1, 20, "b"), kAll,
       {"  a", "  b"}, {-1, 0, 1}, true, 1},
  };
  for (const auto& c : cases) {
    const HistoryView view = HistoryView::FromLog(c.content, c.view);
    EXPECT_TRUE(view.FileFound());
    EXPECT_EQ(Column2(view), c.texts) << c.content;
    EXPECT_EQ(view.RowKeys(), c.keys) << c.content;
    EXPECT_EQ(view.RowCount(), static_cast<int>(c.keys.size())) << c.content;
    EXPECT_EQ(view.NeedsCompaction(), c.compact) << c.content;
    EXPECT_EQ(view.LastRecordKey(), c.last_key) << c.content;
  }
  // In English the records the program writes read from their codes; an address as it is.
  texts::UseLanguage(texts::Language::kEnglish);
  EXPECT_EQ(Column2(HistoryView::FromLog(five + Record(5, 20, "1.2.3.4"), kAll)),
            (Texts{"***", "Checking started", "Checking ended", "  Connection error",
                   "  Connection recovered", "  1.2.3.4"}));
  texts::UseLanguage(texts::Language::kJapanese);
  const HistoryView view = HistoryView::FromLog(Record(0, 20, "x"), kAll);
  EXPECT_EQ(Cell(view, 1, 0) + Cell(view, 1, 1), "2019/07/0409:05:03");
}

// Bytes appended to a log that was read go on from where the view ends, exactly as a new
// reading would; where the view cannot tell how, it refuses and leaves everything alone.
TEST(HistoryView, GoesOnWithAppendedBytesOnlyFromALineEnd) {
  const std::string two = Record(0, 20, "a") + Record(1, 1, "b");
  const std::string more = Record(2, 20, "c") + Record(3, 11, "");
  const struct {
    std::string before;
    ViewSwitches view_before, view_after;
    bool extends;
  } cases[] = {
      {two, kAll, kAll, true},
      {"", kAll, kAll, true},
      {two, kNoChecks, kNoChecks, true},
      {two + "0,20,d,t,torn", kAll, kAll, false},  // the last line has no line end
      {two, kAll, kNoChecks, false},                // other rows are shown now
  };
  for (const auto& c : cases) {
    HistoryView view = HistoryView::FromLog(c.before, c.view_before);
    const int rows_before = view.RowCount();
    EXPECT_EQ(view.Extend(more, c.view_after), c.extends) << c.before;
    if (!c.extends) {
      EXPECT_EQ(view.RowCount(), rows_before);
      continue;
    }
    const HistoryView whole = HistoryView::FromLog(c.before + more, c.view_after);
    EXPECT_EQ(Column2(view), Column2(whole)) << c.before;
    EXPECT_EQ(view.RowKeys(), whole.RowKeys()) << c.before;
    EXPECT_EQ(view.NeedsCompaction(), whole.NeedsCompaction()) << c.before;
    EXPECT_EQ(view.LastRecordKey(), whole.LastRecordKey()) << c.before;
  }
  HistoryView missing;
  EXPECT_FALSE(missing.Extend(more, kAll));

  // Only a log exactly as the rewrite writes it is left unwritten by a compaction.
  EXPECT_TRUE(HistoryView::FromLog(two + more, kNoChecks).CompactionChangesNothing());
  EXPECT_TRUE(HistoryView::FromLog("0,20,d,t,\"a b\"\r\n", kNoChecks).CompactionChangesNothing());
  for (const std::string& changed : {Record(1, 20, "a"), Record(0, 20, "a") + "\r\n",
                                     std::string("0,20,d,t,a\n"), std::string("00,20,d,t,a\r\n"),
                                     std::string("0,20,d,t,\"ab\"\r\n")}) {
    EXPECT_FALSE(HistoryView::FromLog(changed, kNoChecks).CompactionChangesNothing()) << changed;
  }
}

// A deletion as the grid runs it: the range from the rows, the rewrite, the reload and
// the row that becomes current.
TEST(HistoryView, DeletingSelectedRows) {
  std::string seven;  // place 2 is a check start, hidden under kNoChecks
  const char* texts[] = {"A", "B", "-", "C", "D", "E", "F"};
  for (int i = 0; i < 7; ++i) seven += Record(i, i == 2 ? 1 : 20, texts[i]);
  const std::string stale = Record(0, 20, "a") + Record(1, 20, "b") + Record(0, 20, "c");

  const struct {
    std::string content;
    ViewSwitches view;
    int top, bottom;
    bool remove;
    Texts after;
    int current;
  } cases[] = {
      {seven, kNoChecks, 2, 4, true, {"  A", "  E", "  F"}, 2},
      {seven, kNoChecks, 6, 5, true, {"  A", "  B", "  C", "  D"}, 4},  // reaches the newest
      {seven, kNoChecks, 1, 6, true, {}, 0},
      {seven, kAll, 0, 2, false, {"  A", "  B", "-", "  C", "  D", "  E", "  F"}, 0},
      {seven, kAll, 7, 8, false, {"  A", "  B", "-", "  C", "  D", "  E", "  F"}, 7},
      {Record(0, 1, "x"), kNone, 0, 0, false, {}, 0},
      // Keys 0, 1, 0 whose renumbering never reached the file: the last row is still the
      // newest record, not the first.
      {stale, kAll, 3, 3, true, {"  a", "  b"}, 2},
  };
  for (const auto& c : cases) {
    const HistoryView before = HistoryView::FromLog(c.content, c.view);
    const DeleteRange range = RowsToDelete(before, c.top, c.bottom);
    EXPECT_EQ(range.Remove, c.remove) << c.top;
    std::string content = c.content;
    if (range.Remove) content = RewriteLog(content, range.First, range.Last, c.view).Content;
    const HistoryView after = HistoryView::FromLog(content, c.view);
    EXPECT_EQ(Column2(after), c.after) << c.top;
    EXPECT_EQ(CurrentRowAfterDelete(c.top, c.bottom, before.RowCount(), after.RowCount()),
              c.current)
        << c.top;
  }
}

}  // namespace
}  // namespace lvn
