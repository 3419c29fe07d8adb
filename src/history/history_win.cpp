#include "history/history_win.h"

#include <new>
#include <string>
#include <utility>

#include "history/log_win.h"
#include "history/log_write.h"
#include "util/file_io_win.h"
#include "util/text.h"

namespace lvn {

void History::SetFolder(const char* folder, const std::string& fallback_folder) {
  folder_ = folder;
  fallback_folder_ = fallback_folder;
  Forget();
  Log(folder_.c_str(), &state_).TakeSavedRecords(fallback_folder_);
}

bool History::SaveUnwritten() { return Log(folder_.c_str(), &state_).SavePending(fallback_folder_); }

std::string History::UnwrittenText() const {
  std::string text;
  for (const PendingRecord& record : state_.Pending) text += record.Line;
  return text;
}

void History::Forget() {
  known_stamp_.reset();
  appended_.clear();
}

bool History::Write(int32_t code, const char* text, const LocalTime& time) {
  Log log(folder_.c_str(), &state_);
  const bool written = log.Write(code, text, time);
  // The view can go on from this append only if the file was as the view left it.
  if (written && known_stamp_.has_value() && log.StampBefore() == known_stamp_ &&
      log.StampAfter().has_value()) {
    appended_ += log.Appended();
    known_stamp_ = log.StampAfter();
  } else {
    Forget();
  }
  return written;
}

ReloadResult History::Reload(ViewSwitches view) {
  Log log(folder_.c_str(), &state_);
  bool records_kept = false;
  try {
    // Nothing but this program's own appends since the last reading: read just those.
    if (known_stamp_.has_value() && state_.Pending.empty() &&
        StampOfFile(log.Path()) == known_stamp_ && view_.Extend(appended_, view)) {
      appended_.clear();
    } else {
      Forget();
      std::string content;
      std::optional<FileStamp> stamp;
      switch (log.Read(&content, &stamp)) {
        case ReadResult::kOk:
          break;
        case ReadResult::kMissing:
          view_ = HistoryView();
          return ReloadResult::kMissing;
        case ReadResult::kFailed:
          return ReloadResult::kUnreadable;
        case ReadResult::kTooLarge:
          view_ = HistoryView();
          return ReloadResult::kTooLarge;
      }
      const std::string waiting = log.PendingBytes();
      records_kept = !waiting.empty();
      if (records_kept) {
        if (!content.empty() && EndsInTornLine(content.back())) content += "\r\n";
        content += waiting;
        // The file is not what the view shows: the next reload reads it whole.
        stamp.reset();
      }
      view_ = HistoryView::FromLog(std::move(content), view);
      known_stamp_ = stamp;
    }
    // The kept records are not in the file: a rewrite now would number them wrongly.
    if (view_.NeedsCompaction() && !view_.CompactionChangesNothing() && !records_kept) {
      LogRewrite rewrite = RewriteLog(view_.Content(), -1, -1, view);
      // A refused replace leaves the old file, which the view still shows as it is.
      if (log.Replace(rewrite)) {
        view_ = HistoryView::FromLog(std::move(rewrite.Content), view);
        known_stamp_ = StampOfFile(log.Path());
      }
    }
  } catch (const std::bad_alloc&) {
    // No memory for the bytes, the index or the rewrite: the file stays as it is, and the
    // view is read anew next time.
    view_ = HistoryView();
    Forget();
    return ReloadResult::kTooLarge;
  }
  state_.LastRecordKey = view_.LastRecordKey();
  return ReloadResult::kRead;
}

RemoveResult History::Remove(const DeleteRange& range, ViewSwitches view) {
  if (!range.Remove) return RemoveResult::kFailed;
  // The places count the bytes the view was made of; whatever came after them (appends,
  // ours or another program's) moves none of them.
  const RemoveResult removed =
      Log(folder_.c_str(), &state_).RemoveRange(range.First, range.Last, view, view_.Content());
  if (removed != RemoveResult::kFailed) Forget();
  return removed;
}

}  // namespace lvn
