#include "notify/log_file_win.h"

#include "notify/command_log.h"
#include "util/file_io_win.h"

namespace lvn {

bool AppendToBoundedLog(const std::string& path, std::string_view entry) {
  std::string content;
  switch (ReadWholeFile(path.c_str(), &content, kMaxCommandLogBytes)) {
    case ReadResult::kOk:
    case ReadResult::kMissing:
      break;
    case ReadResult::kTooLarge:
      content.clear();
      break;
    case ReadResult::kFailed:
      return false;
  }
  return ReplaceFileContent(path.c_str(), WithCommandLogEntry(content, entry));
}

}  // namespace lvn
