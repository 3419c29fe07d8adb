#include "history/history_view.h"

#include <algorithm>
#include <climits>

#include "util/texts.h"

namespace lvn {
namespace {

constexpr std::size_t kColumns = static_cast<std::size_t>(kHistoryColumns);

int32_t ClampToInt32(std::int64_t value) {
  return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

}  // namespace

HistoryView::HistoryView(HeaderOnly) {
  AddRow(texts::kColumnDate, texts::kColumnTime, {}, texts::kColumnText);
  row_keys_.push_back(-1);
}

HistoryView::HistoryView() : HistoryView(HeaderOnly{}) { AddRow({}, {}, {}, {}); }

HistoryView HistoryView::FromLog(std::string_view content, ViewSwitches view) {
  HistoryView grid{HeaderOnly{}};
  grid.file_found_ = true;
  // Cell offsets are 32-bit. The reload never reads that much; anything larger shows empty.
  if (content.size() > UINT32_MAX / 2) content = {};
  // Sized by the LF count, which is the line count of most logs, the tables are not copied
  // over and over as they grow; a file of nothing but line ends does not size them alone.
  const std::size_t rows = std::min(
      static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n')),
      content.size() / 16) + 2;
  grid.cell_ends_.reserve(rows * kColumns);
  grid.row_keys_.reserve(rows);
  grid.cells_.reserve(content.size());

  LineReader lines(content);
  FieldSplitter splitter;
  RecordFields record;
  std::string_view line;
  std::int64_t line_count = 0;
  std::int64_t position = 0;  // valid records so far
  std::int64_t shown = 0;
  bool broken = false;
  while (lines.Next(&line)) {
    ++line_count;
    if (!ReadRecord(line, &splitter, &record)) continue;
    if (ReadDecimal(record.Field[0]) != position) broken = true;
    const std::int64_t place = position++;
    if (!IsShown(record.Code, view)) continue;
    ++shown;
    grid.AddRow(record.Field[2], record.Field[3], record.Code > 2 ? "  " : "", record.Field[4]);
    grid.row_keys_.push_back(ClampToInt32(place));
  }
  grid.needs_compaction_ = shown != line_count || broken;
  grid.last_record_key_ = ClampToInt32(position - 1);
  return grid;
}

int HistoryView::RowCount() const {
  const std::size_t rows = cell_ends_.size() / kColumns;
  return rows > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(rows);
}

std::string_view HistoryView::Cell(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0 || column >= kHistoryColumns) return {};
  const std::size_t index = static_cast<std::size_t>(row) * kColumns +
                            static_cast<std::size_t>(column);
  const std::size_t begin = index == 0 ? 0 : cell_ends_[index - 1];
  return std::string_view(cells_).substr(begin, cell_ends_[index] - begin);
}

void HistoryView::AddRow(std::string_view date, std::string_view time, std::string_view indent,
                         std::string_view text) {
  cells_.append(date);
  cell_ends_.push_back(static_cast<uint32_t>(cells_.size()));
  cells_.append(time);
  cell_ends_.push_back(static_cast<uint32_t>(cells_.size()));
  cells_.append(indent);
  cells_.append(text);
  cell_ends_.push_back(static_cast<uint32_t>(cells_.size()));
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
