// What the history grid shows: a header row, then one row per shown record of the log,
// oldest first, with the record key each row stands for. The view keeps the log's bytes as
// they were read and an index of the shown lines; a cell's text is cut out of its line
// only when someone asks for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/log_format.h"

namespace lvn {

inline constexpr int kHistoryColumns = 3;  // date, time, text

class HistoryView {
 public:
  // The grid for a missing log file: the header and one empty row; the empty row has no
  // record key.
  HistoryView();
  // The grid for the log's content under the view switches. The view keeps content.
  static HistoryView FromLog(std::string content, ViewSwitches view);

  // Rows including the header row 0. A log without a shown record gives 1.
  int RowCount() const;
  // *text := the cell's text. Columns 0 to 2: date, time, text; the text of codes 11, 12
  // and 20 is indented by two spaces so that check start, check end and off markers stand
  // out to the left. Empty outside the grid.
  void CellText(int row, int column, std::string* text) const;
  // Index: row. The header's entry is -1; the empty row of a missing file has none.
  const std::vector<int32_t>& RowKeys() const { return row_keys_; }

  bool FileFound() const { return file_found_; }
  // The log's bytes as they were read.
  std::string_view Content() const { return content_; }
  // True when the file holds an invalid line, a record hidden by a view switch or a key
  // that is not its place, so the reload compacts it as Remove(-1) does. A hidden record
  // alone calls for it too.
  bool NeedsCompaction() const { return lines_ != shown() || broken_; }
  // True when compacting the content would write the same bytes again: every line is a
  // record written as the rewrite writes it, keyed by its place and ended by CR LF.
  bool CompactionChangesNothing() const { return rewrite_copies_all_; }
  // Valid records - 1 (-1 for none), the key of the last record once the file is
  // numbered; only meaningful when FileFound().
  int32_t LastRecordKey() const;

  // Takes in the bytes appended to the file since the view was made, as if the whole file
  // had been read again. False, with nothing changed, when the view cannot go on from
  // where it ends: no file was found, its last line has no LF, or the view switches are not
  // the ones it was made with.
  bool Extend(std::string_view appended, ViewSwitches view);

 private:
  // Reads the lines of content_ from offset from on, which starts a line.
  void Index(std::size_t from);
  std::int64_t shown() const { return static_cast<std::int64_t>(row_lines_.size()); }

  std::string content_;
  ViewSwitches view_;
  // Where the line of data row i + 1 starts in content_.
  std::vector<std::size_t> row_lines_;
  std::vector<int32_t> row_keys_;
  bool file_found_ = false;
  // What the lines read so far add up to.
  std::int64_t lines_ = 0;
  std::int64_t records_ = 0;  // valid ones; the next record's place
  bool broken_ = false;       // a key differs from its place
  bool rewrite_copies_all_ = true;
};

// The records a deletion of the selected grid rows top to bottom removes:
// RemoveRange(First, Last). Nothing is removed when either end has no record behind it
// (the header, the empty row of a missing file, a row beyond the grid). Records of hidden
// kinds between the two rows stay.
struct DeleteRange {
  bool Remove = false;
  int32_t First = 0;
  int32_t Last = 0;
};
DeleteRange RowsToDelete(const HistoryView& view, int top, int bottom);

// The grid's current row after a deletion of rows top to bottom and the reload that
// follows it: the new last row when the selection reached the newest row (bottom was
// old_row_count - 1), otherwise top, which now holds the record after the removed block.
// Always a row of the new grid.
int CurrentRowAfterDelete(int top, int bottom, int old_row_count, int new_row_count);

}  // namespace lvn
