// The counters and the waiting records that history records carry from one to the next.
// Only the user-interface thread touches them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lvn {

// A record that could not be appended yet, kept until an append to its file succeeds.
struct PendingRecord {
  std::string Path;  // the log file it belongs to
  std::string Line;  // its bytes, line end included
};

struct HistoryState {
  // Key of the last history record. Loaded from PrimaryKey; every Write advances it, every
  // rewrite and every reload of a found log resets it.
  int32_t LastRecordKey = -1;
  // Code of the last record written in this run, whether or not it reached the file;
  // never saved.
  int32_t LastEventCode = 0;
  // Oldest first; appended before any newer record.
  std::vector<PendingRecord> Pending;
  // The oldest of them were read from the files an earlier run saved them to
  // (kSavedRecordsFileName), which were then moved to these paths (kTakenRecordsFileName);
  // they go once the records are in the log.
  std::vector<std::string> TakenFiles;
};

}  // namespace lvn
