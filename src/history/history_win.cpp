#include "history/history_win.h"

#include <new>
#include <string>
#include <utility>

#include "history/log_win.h"
#include "util/file_io_win.h"
#include "util/text.h"

namespace lvn {

void History::SetFolder(const char* folder) { CopyText(folder_, folder, sizeof folder_); }

bool History::Write(int32_t code, const char* text, const LocalTime& time) {
  return Log(folder_, &state_).Write(code, text, time);
}

ReloadResult History::Reload(ViewSwitches view) {
  Log log(folder_, &state_);
  std::string content;
  switch (log.Read(&content)) {
    case ReadResult::kOk:
      break;
    case ReadResult::kMissing:
      view_ = HistoryView();
      return ReloadResult::kMissing;
    case ReadResult::kFailed:
      return ReloadResult::kUnreadable;
    case ReadResult::kTooLarge:
      return ReloadResult::kTooLarge;
  }
  try {
    HistoryView loaded = HistoryView::FromLog(std::move(content), view);
    if (loaded.NeedsCompaction()) log.RewriteFrom(loaded.Content(), -1, -1, view);
    view_ = std::move(loaded);
  } catch (const std::bad_alloc&) {
    // No memory for the index or the rewrite: the file stays as it is, the view as it was.
    return ReloadResult::kTooLarge;
  }
  state_.LastRecordKey = view_.LastRecordKey();
  return ReloadResult::kRead;
}

bool History::RemoveRows(int top, int bottom, ViewSwitches view) {
  const DeleteRange range = RowsToDelete(view_, top, bottom);
  return range.Remove && Log(folder_, &state_).RemoveRange(range.First, range.Last, view);
}

}  // namespace lvn
