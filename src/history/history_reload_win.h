// The history grid's two file operations, without the grid: the reload from log.csv and
// the deletion of selected rows. The grid window draws the HistoryView they leave.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "history/history_state.h"
#include "history/history_view.h"
#include "settings/ini_file.h"

namespace lvn {

// Where a reload puts the key of the last record so that the next run continues from it:
// PrimaryKey in the settings, and the settings file written at once.
using StoreLastRecordKey = std::function<void(int32_t last_record_key)>;

// The usual store: PrimaryKey in *settings, then the whole file saved to ini_path.
// *settings must outlive the store.
StoreLastRecordKey SettingsKeyStore(IniFile* settings, std::string ini_path);

// Rebuilds *grid from log.csv in folder (with its trailing "\"). Records kept from failed
// appends go in first. A log with an invalid line, a hidden record or a key out of place
// is compacted with Remove(-1). For a found log, LastRecordKey becomes its valid records
// - 1 and goes to store; a missing log gives the empty grid and touches neither.
// False, with *grid and everything else unchanged, when log.csv exists but cannot be read.
bool ReloadHistory(const char* folder, ViewSwitches view, const StoreLastRecordKey& store,
                   HistoryView* grid, HistoryState* state = &ProcessHistory);

// Deletes the records behind grid rows top to bottom of *grid (see RowsToDelete), then
// reloads *grid. Returns the row to make current (see CurrentRowAfterDelete).
int DeleteHistoryRows(const char* folder, ViewSwitches view, int top, int bottom,
                      const StoreLastRecordKey& store, HistoryView* grid,
                      HistoryState* state = &ProcessHistory);

}  // namespace lvn
