#include "history/history_view.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "util/texts.h"

namespace lvn {
namespace {

int32_t ClampToInt32(std::int64_t value) {
  return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

// A log line is rarely shorter; the index then grows at most once or twice.
constexpr std::size_t kTypicalLineBytes = 40;

}  // namespace

HistoryView::HistoryView() : row_keys_{-1} {}

HistoryView HistoryView::FromLog(std::string content, ViewSwitches view) {
  HistoryView grid;
  grid.file_found_ = true;
  grid.content_ = std::move(content);
  const std::size_t expected_rows = grid.content_.size() / kTypicalLineBytes + 1;
  grid.row_lines_.reserve(expected_rows);
  grid.row_keys_.reserve(expected_rows + 1);

  RecordReader reader(grid.content_);
  std::int64_t lines = 0;
  std::int64_t position = 0;  // valid records so far
  std::int64_t shown = 0;
  bool broken = false;
  while (reader.Next()) {
    ++lines;
    if (!reader.IsRecord()) continue;
    if (ReadDecimal(reader.Field(0)) != position) broken = true;
    const std::int64_t place = position++;
    if (!IsShown(reader.Code(), view)) continue;
    ++shown;
    grid.row_lines_.push_back(reader.LineStart());
    grid.row_keys_.push_back(ClampToInt32(place));
  }
  grid.needs_compaction_ = shown != lines || broken;
  grid.last_record_key_ = ClampToInt32(position - 1);
  return grid;
}

int HistoryView::RowCount() const {
  if (!file_found_) return 2;
  return row_lines_.size() >= static_cast<std::size_t>(INT_MAX)
             ? INT_MAX
             : static_cast<int>(row_lines_.size()) + 1;
}

void HistoryView::CellText(int row, int column, std::string* text) const {
  text->clear();
  if (row < 0 || column < 0 || column >= kHistoryColumns) return;
  if (row == 0) {
    static constexpr const char* kHeader[kHistoryColumns] = {
        texts::kColumnDate, texts::kColumnTime, texts::kColumnText};
    text->assign(kHeader[column]);
    return;
  }
  const auto index = static_cast<std::size_t>(row) - 1;
  if (index >= row_lines_.size()) return;
  RecordReader reader(std::string_view(content_).substr(row_lines_[index]));
  if (!reader.Next() || !reader.IsRecord()) return;
  if (column == 2 && reader.Code() > kEventCheckEnd) text->assign("  ");
  text->append(reader.Field(column + 2));
}

DeleteRange RowsToDelete(const HistoryView& view, int top, int bottom) {
  const auto& keys = view.RowKeys();
  if (top > bottom) std::swap(top, bottom);
  DeleteRange range;
  if (top < 0 || static_cast<std::size_t>(bottom) >= keys.size()) return range;
  const int32_t first = keys[static_cast<std::size_t>(top)];
  const int32_t last = keys[static_cast<std::size_t>(bottom)];
  if (first < 0 || last < 0) return range;
  range.Remove = true;
  range.First = first;
  range.Last = last;
  return range;
}

int CurrentRowAfterDelete(int top, int bottom, int old_row_count, int new_row_count) {
  if (new_row_count <= 1) return 0;
  const int last_row = new_row_count - 1;
  if (std::max(top, bottom) >= old_row_count - 1) return last_row;
  return std::clamp(std::min(top, bottom), 0, last_row);
}

}  // namespace lvn
