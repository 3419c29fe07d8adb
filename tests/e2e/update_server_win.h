// The fault server's update paths as the tests see them: what they were sent
// (updates.tsv), how they answer, the second lookup page; and what the program keeps of
// its sends in the data folder.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace lvn::e2e {

struct UpdateRecord {
  std::string Method;
  std::string Target;  // the path and its query, as sent
  std::map<std::string, std::string> Headers;  // names in lower case
  std::string Body;
  std::string Scheme;  // "https"
};

// The requests the update paths got, oldest first; a line that does not read is skipped.
std::vector<UpdateRecord> UpdateRecords();
// A fresh server: no records, each kind's own answers, no second lookup page.
void ResetUpdateServer();
// "<status> <body>" answers every update path from now on ("302 /u/elsewhere" redirects);
// empty: each kind's own answer again.
void SetUpdateAnswer(const std::string& answer);
// /lvn2.php's answer, as SetLookupAnswer gives /lvn.php's.
void SetFallbackAnswer(const std::string& body);

// update.log's lines in UTF-8, without their line ends.
std::vector<std::string> UpdateLogLines();
// The first line of update.log that holds part, once one does within the time-out; else "".
std::string WaitForUpdateLogLine(const std::string& part);
// The names of the data folder's files that hold text as UTF-8, code page 932 or UTF-16.
std::vector<std::string> DataFilesHolding(const std::string& text);

}  // namespace lvn::e2e
