// Writing the history log "log.csv": records appended one line at a time, and the
// whole-file rewrite that removes records and numbers the rest anew. The format is the
// one history/log_format.h reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "history/local_time.h"
#include "history/log_format.h"
#include "util/byte_sink.h"

namespace lvn {

// Appends one field so that the reader gives it back unchanged: a field holding a byte
// 0x01 to 0x20, a comma or a double quote is enclosed in double quotes, with every quote
// that is not the trail byte of a character doubled. A quoted field that ends in half a
// character is left open, since a closing quote would become its trail byte. The reader
// only ever gives such a field as the last of its line, which is where it goes back.
void AppendField(std::string* out, std::string_view field);

// The key the next record gets; it stays at the top of the range instead of overflowing.
int32_t NextRecordKey(int32_t last_record_key);

// The bytes Write appends for one record, CR LF included. The text is cut to whole
// characters of at most kRecordTextCapacity - 1 bytes, and CR and LF in it become spaces
// so that the record stays on one line. Code 0 stores "***" as date and time, codes 11
// and 12 their fixed texts.
std::string RecordLine(int32_t key, int32_t code, const char* text, const LocalTime& time);

// True when a file whose last byte is last_byte ends in a torn line, so that bytes
// appended to it would join that line.
bool EndsInTornLine(char last_byte);

// A whole-file rewrite: output holds the valid records that stay, numbered 0, 1, 2 ... in
// file order, each written field by field and ended with CR LF. Invalid lines are dropped.
struct LogRewrite {
  bool Write = false;          // false for a file without lines: it is left alone
  std::string Content;
  int32_t LastRecordKey = -1;  // records kept - 1
};
// Removes the shown records whose place among the valid records (0-based, file order)
// lies from first to last. The place, not the key field, is what the grid holds for a
// row, and it is the record's key in every file a rewrite has numbered. A negative first
// and last remove nothing, so (-1, -1) only compacts.
LogRewrite RewriteLog(std::string_view content, int32_t first, int32_t last, ViewSwitches view);
// The same rewrite of a non-empty content, handed to sink in pieces of at most tens of
// kilobytes (or straight from content where it stays as it is), so that no second copy of
// the whole log is made. *last_record_key := records kept - 1. False when the sink refused.
bool StreamLogRewrite(std::string_view content, int32_t first, int32_t last, ViewSwitches view,
                      const ByteSink& sink, int32_t* last_record_key);

}  // namespace lvn
