#include "history/log_write.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "history/log_format.h"
#include "util/ascii.h"
#include "util/clamp.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {
namespace {

// 0, 1, 2 ... in decimal, counted on in place: cheaper than formatting every key anew.
class DecimalCounter {
 public:
  std::string_view Text() const { return std::string_view(digits_ + first_, kSize - first_); }
  void Increment() {
    std::size_t i = kSize;
    while (i > first_ && digits_[i - 1] == '9') digits_[--i] = '0';
    if (i > first_) {
      ++digits_[i - 1];
    } else if (first_ > 0) {
      digits_[--first_] = '1';
    }
  }

 private:
  static constexpr std::size_t kSize = 20;  // digits of the largest std::size_t
  char digits_[kSize] = {'0', '0', '0', '0', '0', '0', '0', '0', '0', '0',
                         '0', '0', '0', '0', '0', '0', '0', '0', '0', '0'};
  std::size_t first_ = kSize - 1;  // the number is digits_[first_, kSize)
};

bool NeedsQuotes(std::string_view field) {
  for (char c : field) {
    if ((Byte(c) >= 0x01 && Byte(c) <= 0x20) || c == ',' || c == '"') return true;
  }
  return false;
}

void AppendDecimal(std::string* out, std::int64_t value) {
  char buffer[24];
  std::size_t i = sizeof buffer;
  const bool negative = value < 0;
  // Digits of the magnitude, taken without negating INT64_MIN.
  do {
    const std::int64_t digit = value % 10;
    buffer[--i] = static_cast<char>('0' + (digit < 0 ? -digit : digit));
    value /= 10;
  } while (value != 0);
  if (negative) buffer[--i] = '-';
  out->append(buffer + i, sizeof buffer - i);
}

}  // namespace

void AppendField(std::string* out, std::string_view field) {
  if (!NeedsQuotes(field)) {
    out->append(field);
    return;
  }
  const auto& lead = LeadByteTable();
  out->push_back('"');
  std::size_t i = 0;
  bool half_character = false;
  while (i < field.size()) {
    if (lead[Byte(field[i])]) {
      if (i + 1 == field.size()) {
        half_character = true;
        out->push_back(field[i]);
        break;
      }
      out->append(field.data() + i, 2);
      i += 2;
      continue;
    }
    if (field[i] == '"') out->push_back('"');
    out->push_back(field[i]);
    ++i;
  }
  if (!half_character) out->push_back('"');
}

int32_t NextRecordKey(int32_t last_record_key) {
  return last_record_key == INT32_MAX ? INT32_MAX : last_record_key + 1;
}

std::string RecordLine(int32_t key, int32_t code, const char* text, const LocalTime& time) {
  std::string date = FormatDate(time);
  std::string clock = FormatClock(time);
  const char* source = text != nullptr ? text : "";
  std::string body(source, WholeCharacterPrefix(source, std::strlen(source),
                                                kRecordTextCapacity - 1));
  for (char& c : body) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (code == kEventOff) {
    date = kRecordOffMark;
    clock = kRecordOffMark;
  } else if (code == kEventCommError) {
    body = kRecordCommError;
  } else if (code == kEventCommRecovered) {
    body = kRecordCommRecovered;
  }
  std::string line;
  AppendDecimal(&line, key);
  line.push_back(',');
  AppendDecimal(&line, code);
  line.push_back(',');
  AppendField(&line, date);
  line.push_back(',');
  AppendField(&line, clock);
  line.push_back(',');
  AppendField(&line, body);
  line.append("\r\n");
  return line;
}

bool EndsInTornLine(char last_byte) { return last_byte != '\r' && last_byte != '\n'; }

LogRewrite RewriteLog(std::string_view content, int32_t first, int32_t last, ViewSwitches view) {
  LogRewrite rewrite;
  if (content.empty()) return rewrite;
  rewrite.Write = true;
  // Room for LF line ends turning into CR LF without growing more than once or twice.
  rewrite.Content.reserve(content.size() + content.size() / 16 + 16);
  StreamLogRewrite(
      content, first, last, view,
      [&rewrite](std::string_view bytes) {
        rewrite.Content.append(bytes);
        return true;
      },
      &rewrite.LastRecordKey);
  return rewrite;
}

bool StreamLogRewrite(std::string_view content, int32_t first, int32_t last, ViewSwitches view,
                      const ByteSink& sink, int32_t* last_record_key) {
  // Rewritten lines gather here until a piece is full.
  constexpr std::size_t kPiece = 64 * 1024;
  std::string out;
  out.reserve(kPiece + 1024);
  bool accepted = true;
  const auto send = [&](std::string_view bytes) { accepted = accepted && sink(bytes); };
  const auto send_out = [&] {
    if (!out.empty()) send(out);
    out.clear();
  };
  // Lines that stay exactly as they are gather into runs, sent from content in one piece.
  std::size_t run_begin = 0, run_end = 0;
  const auto flush_run = [&] {
    const std::string_view run = content.substr(run_begin, run_end - run_begin);
    if (out.size() + run.size() > kPiece) {
      send_out();
      send(run);
    } else {
      out.append(run);
    }
    run_begin = run_end = 0;
  };
  RecordReader reader(content);
  std::int64_t place = 0;
  std::size_t kept = 0;
  DecimalCounter key;
  while (reader.Next() && accepted) {
    if (!reader.IsRecord()) continue;
    const bool in_range = first <= place && place <= last;
    ++place;
    if (in_range && IsShown(reader.Code(), view)) continue;
    if (kept++ > 0) key.Increment();
    if (reader.IsPlain() && reader.EndsInCrLf() && reader.Field(0) == key.Text()) {
      if (run_end != reader.LineStart()) {
        flush_run();
        run_begin = reader.LineStart();
      }
      run_end = reader.NextStart();
      continue;
    }
    flush_run();
    if (out.size() >= kPiece) send_out();
    out.append(key.Text());
    if (reader.IsPlain()) {
      // Fields 1 to 4 need no quotes: they go back as they stand, commas and all, and a
      // CR LF with them.
      const std::size_t comma =
          static_cast<std::size_t>(reader.Field(1).data() - content.data()) - 1;
      if (reader.EndsInCrLf()) {
        out.append(content.substr(comma, reader.NextStart() - comma));
        continue;
      }
      out.append(content.substr(comma, reader.LineStart() + reader.Line().size() - comma));
    } else {
      for (int i = 1; i < kRecordFields; ++i) {
        out.push_back(',');
        AppendField(&out, reader.Field(i));
      }
    }
    out.append("\r\n");
  }
  flush_run();
  send_out();
  *last_record_key = kept == 0 ? -1 : ClampToInt32(kept - 1);
  return accepted;
}

}  // namespace lvn
