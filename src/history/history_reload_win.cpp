#include "history/history_reload_win.h"

#include <utility>

#include "history/log_win.h"
#include "settings/settings.h"
#include "settings/settings_file_win.h"
#include "util/file_io_win.h"

namespace lvn {

StoreLastRecordKey SettingsKeyStore(IniFile* settings, std::string ini_path) {
  return [settings, path = std::move(ini_path)](int32_t last_record_key) {
    settings->WriteInteger(kSettingsSection, kKeyPrimaryKey, last_record_key);
    SaveSettingsFile(*settings, path.c_str());
  };
}

bool ReloadHistory(const char* folder, ViewSwitches view, const StoreLastRecordKey& store,
                   HistoryView* grid, HistoryState* state) {
  Log log(folder, state);
  std::string content;
  switch (log.Read(&content)) {
    case ReadResult::kOk:
      break;
    case ReadResult::kMissing:
      *grid = HistoryView();
      return true;
    case ReadResult::kFailed:
      return false;
  }
  HistoryView loaded = HistoryView::FromLog(std::move(content), view);
  // Remove(-1) on the bytes already read; a refused replace leaves the old file.
  if (loaded.NeedsCompaction()) log.RewriteFrom(loaded.Content(), -1, -1, view);
  state->LastRecordKey = loaded.LastRecordKey();
  if (store) store(state->LastRecordKey);
  *grid = std::move(loaded);
  return true;
}

int DeleteHistoryRows(const char* folder, ViewSwitches view, int top, int bottom,
                      const StoreLastRecordKey& store, HistoryView* grid, HistoryState* state) {
  const DeleteRange range = RowsToDelete(*grid, top, bottom);
  const int old_row_count = grid->RowCount();
  if (range.Remove) Log(folder, state).RemoveRange(range.First, range.Last, view);
  ReloadHistory(folder, view, store, grid, state);
  return CurrentRowAfterDelete(top, bottom, old_row_count, grid->RowCount());
}

}  // namespace lvn
