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
#include "history/log_write.h"
#include "util/code_page.h"

namespace {

struct Record {
  std::string key;
  int32_t code;
  std::vector<std::string> rest;  // fields 1 to 4
  bool operator==(const Record& other) const { return code == other.code && rest == other.rest; }
};

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// The valid records of content, in order; *lines counts every line. The one-pass reader
// must find the same lines, records and fields as the reference reader and splitter.
std::vector<Record> Records(std::string_view content, std::size_t* lines) {
  std::vector<Record> records;
  lvn::LineReader reference(content);
  lvn::RecordReader reader(content);
  lvn::FieldSplitter splitter;
  lvn::RecordFields fields;
  std::string_view line;
  for (*lines = 0; reference.Next(&line); ++*lines) {
    Check(reader.Next() && reader.Line() == line &&
          reader.LineStart() == static_cast<std::size_t>(line.data() - content.data()));
    const bool valid = lvn::ReadRecord(line, &splitter, &fields);
    Check(reader.IsRecord() == valid);
    if (!valid) continue;
    Check(reader.Code() == fields.Code);
    for (int i = 0; i < lvn::kRecordFields; ++i) Check(reader.Field(i) == fields.Field[i]);
    records.push_back({std::string(fields.Field[0]), fields.Code,
                       {fields.Field + 1, fields.Field + lvn::kRecordFields}});
  }
  Check(!reader.Next());
  return records;
}

// A rewrite field by field, the way the file format is defined.
std::string ReferenceRewrite(std::string_view content, int32_t first, int32_t last,
                             lvn::ViewSwitches view) {
  std::string out;
  lvn::LineReader lines(content);
  lvn::FieldSplitter splitter;
  lvn::RecordFields record;
  std::string_view line;
  int64_t place = 0;
  std::size_t kept = 0;
  while (lines.Next(&line)) {
    if (!lvn::ReadRecord(line, &splitter, &record)) continue;
    const bool in_range = first <= place && place <= last;
    ++place;
    if (in_range && lvn::IsShown(record.Code, view)) continue;
    out += std::to_string(kept++);
    for (int i = 1; i < lvn::kRecordFields; ++i) {
      out += ',';
      lvn::AppendField(&out, record.Field[i]);
    }
    out += "\r\n";
  }
  return out;
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

  const lvn::HistoryView grid = lvn::HistoryView::FromLog(std::string(input), view);
  Check(grid.RowCount() == static_cast<int>(shown) + 1 && grid.RowKeys().size() == shown + 1);
  Check(grid.LastRecordKey() == last_key);
  Check(grid.NeedsCompaction() == (shown != lines || out_of_place));
  std::string cell;
  int row = 0;
  for (const Record& record : records) {
    if (!lvn::IsShown(record.code, view)) continue;
    ++row;
    for (int column = 0; column < lvn::kHistoryColumns; ++column) {
      grid.CellText(row, column, &cell);
      const std::string indent = column == 2 && record.code > 2 ? "  " : "";
      // Cells are the program's text: the file's code page 932 read as UTF-8.
      Check(cell == indent + lvn::Utf8OfCp932(record.rest[static_cast<std::size_t>(column) + 1]));
    }
  }

  const lvn::LogRewrite compacted = lvn::RewriteLog(input, -1, -1, view);
  Check(grid.CompactionChangesNothing() == (compacted.Content == input));

  // Read in two parts, cut after a line feed, the log gives the view it gives read whole.
  const std::size_t cut = size > 3 ? input.find('\n', data[3] % size) : std::string_view::npos;
  if (cut != std::string_view::npos) {
    lvn::HistoryView parts = lvn::HistoryView::FromLog(std::string(input.substr(0, cut + 1)), view);
    Check(parts.Extend(input.substr(cut + 1), view));
    Check(parts.RowCount() == grid.RowCount() && parts.RowKeys() == grid.RowKeys());
    Check(parts.NeedsCompaction() == grid.NeedsCompaction());
    Check(parts.CompactionChangesNothing() == grid.CompactionChangesNothing());
    Check(parts.LastRecordKey() == grid.LastRecordKey() && parts.Content() == input);
    std::string whole_cell, part_cell;
    for (int r = 0; r < grid.RowCount(); ++r) {
      grid.CellText(r, 2, &whole_cell);
      parts.CellText(r, 2, &part_cell);
      Check(whole_cell == part_cell);
    }
  }
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
  const lvn::LogRewrite removed = lvn::RewriteLog(input, first, last, view);
  Check(Records(removed.Content, &lines) == expected);
  Check(removed.Content == ReferenceRewrite(input, first, last, view));
  Check(compacted.Content == ReferenceRewrite(input, -1, -1, view));

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
