// Any bytes may be in log.csv. Reading must stay in bounds; a compaction keeps every valid
// record with its fields and numbers them 0, 1, 2 ...; a rewritten file survives another
// rewrite unchanged; a deletion removes exactly the shown records in its range; and what
// Write stores reads back as written.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_view.h"
#include "history/log_format.h"

namespace {

struct Record {
  std::string key;
  int32_t code;
  std::vector<std::string> rest;  // fields 1 to 4
  bool operator==(const Record& other) const { return code == other.code && rest == other.rest; }
};

// The valid records of content, in order; *lines counts every line.
std::vector<Record> Records(std::string_view content, std::size_t* lines) {
  std::vector<Record> records;
  lvn::LineReader reader(content);
  lvn::FieldSplitter splitter;
  lvn::RecordFields fields;
  std::string_view line;
  for (*lines = 0; reader.Next(&line); ++*lines) {
    if (!lvn::ReadRecord(line, &splitter, &fields)) continue;
    records.push_back({std::string(fields.Field[0]), fields.Code,
                       {fields.Field + 1, fields.Field + lvn::kRecordFields}});
  }
  return records;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const uint8_t pick = size > 0 ? data[0] : 0;
  const lvn::ViewSwitches view{(pick & 1) != 0, (pick & 2) != 0, (pick & 4) != 0};

  std::size_t lines = 0;
  const std::vector<Record> records = Records(input, &lines);
  std::size_t shown = 0;
  bool out_of_place = false;
  for (std::size_t place = 0; place < records.size(); ++place) {
    shown += lvn::IsShown(records[place].code, view) ? 1 : 0;
    out_of_place = out_of_place || lvn::ReadDecimal(records[place].key) != int64_t(place);
  }
  const auto last_key = static_cast<int32_t>(records.size()) - 1;

  const lvn::HistoryView grid = lvn::HistoryView::FromLog(input, view);
  Check(grid.RowCount() == static_cast<int>(shown) + 1 && grid.RowKeys().size() == shown + 1);
  Check(grid.LastRecordKey() == last_key);
  Check(grid.NeedsCompaction() == (shown != lines || out_of_place));

  const lvn::LogRewrite compacted = lvn::RewriteLog(input, -1, -1, view);
  Check(compacted.Write == !input.empty() && compacted.LastRecordKey == last_key);
  std::size_t compacted_lines = 0;
  const std::vector<Record> kept = Records(compacted.Content, &compacted_lines);
  Check(kept == records && compacted_lines == records.size());
  for (std::size_t i = 0; i < kept.size(); ++i) Check(kept[i].key == std::to_string(i));
  Check(lvn::RewriteLog(compacted.Content, -1, -1, view).Content == compacted.Content);

  const int32_t first = size > 1 ? data[1] % 8 : 0;
  const int32_t last = size > 2 ? first + data[2] % 8 : first;
  std::vector<Record> expected;
  for (std::size_t place = 0; place < records.size(); ++place) {
    const auto p = static_cast<int32_t>(place);
    if (first > p || p > last || !lvn::IsShown(records[place].code, view)) {
      expected.push_back(records[place]);
    }
  }
  Check(Records(lvn::RewriteLog(input, first, last, view).Content, &lines) == expected);

  // A text from the network, cut to whole characters, with line breaks as spaces.
  std::string text(input.substr(0, std::min<std::size_t>(80, input.find('\0'))));
  const std::string line = lvn::RecordLine(0, lvn::kEventAddressChange, text.c_str(), {});
  const std::vector<Record> written = Records(line, &lines);
  Check(written.size() == 1 && lines == 1 && line.ends_with("\r\n"));
  for (char& c : text) c = c == '\r' || c == '\n' ? ' ' : c;
  const std::string& stored = written[0].rest[3];
  Check(text.starts_with(stored));
  Check(stored.size() == text.size() || stored.size() + 2 >= lvn::kRecordTextCapacity);
  Check(stored.size() < lvn::kRecordTextCapacity);
  Check(lvn::RewriteLog(line, -1, -1, view).Content == line);
  return 0;
}
