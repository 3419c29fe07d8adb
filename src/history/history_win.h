// The program's history: the log file in the data folder, what was last read of it, and
// the counters its records carry. The main window owns the one History of the program;
// history code never touches the settings, it only reports the key of the last record.
#pragma once

#include <cstdint>

#include "history/history_state.h"
#include "history/history_view.h"
#include "history/local_time.h"
#include "history/log_format.h"
#include "util/path.h"

namespace lvn {

enum class ReloadResult {
  kRead,        // the view shows the file; LastRecordKey is its valid records - 1
  kMissing,     // no log file: the view shows the header and one empty row
  kUnreadable,  // the file exists but cannot be read now; view and key are unchanged
  kTooLarge,    // more than kMaxLogBytes, or no memory for it; view and key are unchanged
};

class History {
 public:
  // folder: the data folder with its trailing "\".
  void SetFolder(const char* folder);
  const char* Folder() const { return folder_; }

  int32_t LastRecordKey() const { return state_.LastRecordKey; }
  // Where the numbering goes on from: PrimaryKey, as the settings hold it at start.
  void SetLastRecordKey(int32_t key) { state_.LastRecordKey = key; }
  int32_t LastEventCode() const { return state_.LastEventCode; }

  // Appends one record (see Log::Write).
  bool Write(int32_t code, const char* text, const LocalTime& time);

  // Reads log.csv once (records kept from failed appends go in first) and keeps it as the
  // view. A log with an invalid line, a hidden record or a key out of place is compacted
  // from the bytes read, as Remove(-1) would; a refused rewrite leaves the old file.
  ReloadResult Reload(ViewSwitches view);

  // Deletes the records behind the view's rows top to bottom (see RowsToDelete): the shown
  // records between their two records, not the hidden ones. The view is stale afterwards:
  // reload. False when nothing was removed.
  bool RemoveRows(int top, int bottom, ViewSwitches view);

  const HistoryView& View() const { return view_; }

 private:
  char folder_[kPathCapacity] = "";
  HistoryState state_;
  HistoryView view_;
};

}  // namespace lvn
