// The data folder's logs that keep their newest entries within 1 MiB: command.log and
// update.log.
#pragma once

#include <string>
#include <string_view>

namespace lvn {

// Appends entry to the log at path, replacing the file in one step and dropping its oldest
// entries, whole, to stay within the limit. A file larger than the log is ever kept is not
// one the program wrote: it is replaced by the entry. The caller keeps two writers of one
// file apart.
bool AppendToBoundedLog(const std::string& path, std::string_view entry);

}  // namespace lvn
