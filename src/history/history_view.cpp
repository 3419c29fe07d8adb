#include "history/history_view.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <utility>

#include "history/log_write.h"
#include "util/clamp.h"
#include "util/code_page.h"
#include "util/texts.h"

namespace lvn {
namespace {

// Whether a compaction writes the record the reader is at back as the very same bytes,
// as record number place.
bool RewriteKeeps(const RecordReader& reader, std::int64_t place, std::string* scratch) {
  if (!reader.EndsInCrLf()) return false;
  char key[24];
  const auto written = std::to_chars(key, key + sizeof key, place);
  const std::string_view key_text(key, static_cast<std::size_t>(written.ptr - key));
  if (reader.IsPlain()) return reader.Field(0) == key_text;
  // Quoted fields are rare: write the line the way the rewrite does and compare.
  scratch->assign(key_text);
  for (int i = 1; i < kRecordFields; ++i) {
    scratch->push_back(',');
    AppendField(scratch, reader.Field(i));
  }
  return *scratch == reader.Line();
}

// A log line is rarely shorter; the index then grows at most once or twice.
constexpr std::size_t kTypicalLineBytes = 40;

}  // namespace

HistoryView::HistoryView() : row_keys_{-1} {}

HistoryView HistoryView::FromLog(std::string content, ViewSwitches view) {
  HistoryView grid;
  grid.file_found_ = true;
  grid.view_ = view;
  grid.content_ = std::move(content);
  const std::size_t expected_rows = grid.content_.size() / kTypicalLineBytes + 1;
  grid.row_lines_.reserve(expected_rows);
  grid.row_keys_.reserve(expected_rows + 1);
  grid.Index(0);
  return grid;
}

bool HistoryView::Extend(std::string_view appended, ViewSwitches view) {
  // A line end before the appended bytes keeps every earlier line as it was read.
  if (!file_found_ || view != view_ || (!content_.empty() && content_.back() != '\n')) {
    return false;
  }
  const std::size_t from = content_.size();
  content_.append(appended);
  Index(from);
  return true;
}

namespace {

// The text of a record the program writes, in an interface language other than the one
// its file text is in; null to show the file's text.
const char* ShownRecordText(int32_t code) {
  if (texts::CurrentLanguage() == texts::Language::kJapanese) return nullptr;
  const texts::Texts& ui = texts::Ui();
  switch (code) {
    case kEventCheckStart: return ui.CheckStart;
    case kEventCheckEnd: return ui.CheckEnd;
    case kEventCommError: return ui.CommError;
    case kEventCommRecovered: return ui.CommRecovered;
    default: return nullptr;
  }
}

}  // namespace

void HistoryView::Index(std::size_t from) {
  RecordReader reader(std::string_view(content_).substr(from));
  std::string scratch;
  while (reader.Next()) {
    ++lines_;
    if (!reader.IsRecord()) {
      rewrite_copies_all_ = false;
      continue;
    }
    const std::int64_t place = records_++;
    if (ReadDecimal(reader.Field(0)) != place) broken_ = true;
    if (rewrite_copies_all_) rewrite_copies_all_ = RewriteKeeps(reader, place, &scratch);
    if (!IsShown(reader.Code(), view_)) continue;
    row_lines_.push_back(from + reader.LineStart());
    row_keys_.push_back(ClampToInt32(place));
  }
}

int32_t HistoryView::LastRecordKey() const { return ClampToInt32(records_ - 1); }

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
    const texts::Texts& ui = texts::Ui();
    const char* const header[kHistoryColumns] = {ui.ColumnDate, ui.ColumnTime, ui.ColumnText};
    text->assign(header[column]);
    return;
  }
  const auto index = static_cast<std::size_t>(row) - 1;
  if (index >= row_lines_.size()) return;
  RecordReader reader(std::string_view(content_).substr(row_lines_[index]));
  if (!reader.Next() || !reader.IsRecord()) return;
  if (column == 2 && reader.Code() > kEventCheckEnd) text->assign("  ");
  const char* shown = column == 2 ? ShownRecordText(reader.Code()) : nullptr;
  text->append(shown != nullptr ? std::string(shown) : Utf8OfCp932(reader.Field(column + 2)));
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
