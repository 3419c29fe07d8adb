// The program's history: the log file in the data folder, what was last read of it, and
// the counters its records carry. The main window owns the one History of the program;
// history code never touches the settings, it only reports the key of the last record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "history/history_state.h"
#include "history/history_view.h"
#include "history/local_time.h"
#include "history/log_format.h"
#include "history/log_win.h"
#include "util/file_io_win.h"
#include "util/path.h"

namespace lvn {

enum class ReloadResult {
  kRead,        // the view shows the file; LastRecordKey is its valid records - 1
  kMissing,     // no log file: the view shows the header and one empty row
  kUnreadable,  // the file exists but cannot be read now; view and key are unchanged
  kTooLarge,    // more than kMaxLogBytes, or no memory for it: the view shows the header
                // and one empty row; the key is unchanged
};

class History {
 public:
  // folder: the data folder with its trailing "\"; fallback_folder: where kept records go
  // at exit when the data folder takes none ("" for nowhere else). Takes the records an
  // earlier run saved in either, to be appended before any newer one.
  void SetFolder(const char* folder, const std::string& fallback_folder = {});
  const char* Folder() const { return folder_.c_str(); }

  int32_t LastRecordKey() const { return state_.LastRecordKey; }
  // Where the numbering goes on from: PrimaryKey, as the settings hold it at start.
  void SetLastRecordKey(int32_t key) { state_.LastRecordKey = key; }
  int32_t LastEventCode() const { return state_.LastEventCode; }

  // Appends one record (see Log::Write).
  bool Write(int32_t code, const char* text, const LocalTime& time);

  // At exit: records that could not be appended yet get a last chance, then are saved
  // beside the log, or else in the fallback folder, for the next start. False when some
  // could be neither: UnwrittenText then holds them.
  bool SaveUnwritten();
  std::string UnwrittenText() const;

  // Reads log.csv (records kept from failed appends go in first) and keeps it as the view;
  // records still kept, with the file held by another program, are shown after it as they
  // will stand once appended.
  // When the file is just as this History's own appends left it (same size and write
  // time), only the appended bytes are read. A log with an invalid line, a hidden
  // record or a key out of place is compacted from the bytes read, as Remove(-1) would,
  // unless that would write the same bytes again; a refused rewrite leaves the old file.
  ReloadResult Reload(ViewSwitches view);

  // Deletes the records behind the view's rows top to bottom (see RowsToDelete): the shown
  // records between their two records, not the hidden ones. The view is stale afterwards:
  // reload.
  RemoveResult RemoveRows(int top, int bottom, ViewSwitches view) {
    return Remove(RowsToDelete(view_, top, bottom), view);
  }
  // The same for a range taken from the view earlier, with the switches it was shown under:
  // the places of records stay theirs across reloads, which only append or compact. Only
  // while the file begins with the bytes the view was read from: after another program
  // changed them, nothing is removed (kChanged).
  RemoveResult Remove(const DeleteRange& range, ViewSwitches view);

  const HistoryView& View() const { return view_; }

 private:
  // Nothing is known of the file: the next reload reads it whole.
  void Forget();

  std::string folder_;
  std::string fallback_folder_;
  HistoryState state_;
  HistoryView view_;
  // The file as this History last saw or left it, when that is known, and the bytes it
  // appended since the view was made.
  std::optional<FileStamp> known_stamp_;
  std::string appended_;
};

}  // namespace lvn
