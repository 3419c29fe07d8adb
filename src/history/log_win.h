// The history log file "log.csv" in the data folder. A Log is nothing but the file's path;
// it is made for one operation, and no file stays open between operations.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "history/history_state.h"
#include "history/local_time.h"
#include "history/log_format.h"
#include "history/log_write.h"
#include "util/file_io_win.h"
#include "util/path.h"

namespace lvn {

enum class RemoveResult {
  kRemoved,  // the records are gone (or there was no file to remove them from)
  kChanged,  // the file is not the one the places were counted in: nothing removed
  kFailed,   // the file could not be read or replaced: nothing removed
};

class Log {
 public:
  // folder: the data folder with its trailing "\"; state: the counters and waiting
  // records this record goes with. Opens nothing.
  Log(const char* folder, HistoryState* state);

  const char* Path() const { return path_.c_str(); }

  // Appends one record with the key LastRecordKey + 1 and sets LastEventCode. A record
  // that cannot be appended (file locked, folder missing) is kept and appended, in order,
  // by the next append that can open the file. A file that ends in a torn line gets a
  // line end first. True when this record and every one kept before it are in the file.
  bool Write(int32_t code, const char* text, const LocalTime& time);

  // Rewrites the file without the shown records at places first to last (see RewriteLog)
  // and numbers the rest 0, 1, 2 ...; LastRecordKey becomes the last of them. The new
  // content replaces the old in one step, so a crash or a refused replace leaves the old
  // file. A missing or empty file is left alone. shown, when given, is what the places
  // were counted in: a file that does not begin with it, whole lines, is left alone
  // (kChanged). A file another program holds is waited for a little, as an append waits.
  // LastRecordKey changes only with kRemoved.
  RemoveResult RemoveRange(int32_t first, int32_t last, ViewSwitches view,
                           std::optional<std::string_view> shown = std::nullopt);
  // RemoveRange(key, key); Remove(-1) only compacts.
  bool Remove(int32_t key, ViewSwitches view) {
    return RemoveRange(key, key, view) == RemoveResult::kRemoved;
  }

  // Appends the records kept for this file. True when none is left.
  bool AppendPending();
  // The records kept for this file, in order, as they will be appended.
  std::string PendingBytes() const;
  bool HasPending() const;

  // At exit: tries to append the kept records a few more times, over about a second, and
  // saves what is still kept beside the log, replacing that file in one step, else in
  // fallback_folder (with its "\"; may be empty). False when records are left that could
  // be neither appended nor saved.
  bool SavePending(const std::string& fallback_folder);
  // At start: takes the records an earlier run saved beside the log, then those it saved in
  // fallback_folder, to be appended before any newer one. A file is taken by moving it
  // aside before anything of it is appended, so that nothing is appended twice, whatever
  // happens after; one that cannot be moved (another program holds it) stays for a later
  // start. Records the log already ends with (an earlier version's run that ended between
  // the append and the removal) are not taken twice.
  void TakeSavedRecords(const std::string& fallback_folder);
  // After an append: the bytes it added, and the file's stamps before and after it.
  const std::string& Appended() const { return appended_; }
  const std::optional<FileStamp>& StampBefore() const { return stamp_before_; }
  const std::optional<FileStamp>& StampAfter() const { return stamp_after_; }

  // The file's bytes, after the records kept for it have gone in, so that the places read
  // are the places a rewrite will see; kTooLarge beyond kMaxLogBytes. *stamp, when asked
  // for, as ReadStampedFile gives it.
  ReadResult Read(std::string* content, std::optional<FileStamp>* stamp);
  // Puts a rewrite made from the file's bytes in the file's place (see RemoveRange).
  bool Replace(const LogRewrite& rewrite);

 private:
  // The file kept records are saved to at exit, in folder ("" for the log's).
  std::string SavedRecordsPath(const std::string& folder = {}) const;
  void TakeSavedFile(const std::string& folder);
  void RemoveSavedRecords();

  std::string path_;  // empty: no log
  HistoryState* state_;
  std::string appended_;
  std::optional<FileStamp> stamp_before_;
  std::optional<FileStamp> stamp_after_;
};

}  // namespace lvn
