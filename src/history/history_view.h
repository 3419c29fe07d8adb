// What the history grid shows: a header row, then one row per shown record of the log,
// oldest first, with the record key each row stands for. Built from the log's bytes alone,
// so the grid window only draws it.
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
  // The grid for the log's content under the view switches.
  static HistoryView FromLog(std::string_view content, ViewSwitches view);

  // Rows including the header row 0. A log without a shown record gives 1.
  int RowCount() const;
  // Columns 0 to 2: date, time, text; the text of codes 11, 12 and 20 is indented by two
  // spaces so that check start, check end and off markers stand out to the left. Empty
  // outside the grid.
  std::string_view Cell(int row, int column) const;
  // Index: row. The header's entry is -1; the empty row of a missing file has none.
  const std::vector<int32_t>& RowKeys() const { return row_keys_; }

  bool FileFound() const { return file_found_; }
  // True when the file holds an invalid line, a record hidden by a view switch or a key
  // that is not its place, so the reload rewrites it through Remove(-1). A hidden record
  // alone triggers the rewrite too, although that rewrite changes nothing.
  bool NeedsCompaction() const { return needs_compaction_; }
  // Valid records - 1 (-1 for none), the key of the last record once the file is
  // numbered; only meaningful when FileFound().
  int32_t LastRecordKey() const { return last_record_key_; }

 private:
  struct HeaderOnly {};
  explicit HistoryView(HeaderOnly);
  void AddRow(std::string_view date, std::string_view time, std::string_view indent,
              std::string_view text);

  std::string cells_;                  // every cell's text, one after the other
  std::vector<uint32_t> cell_ends_;    // end of cell (row, column) in cells_
  std::vector<int32_t> row_keys_;
  bool file_found_ = false;
  bool needs_compaction_ = false;
  int32_t last_record_key_ = -1;
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
