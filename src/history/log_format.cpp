#include "history/log_format.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>

#include "util/ascii.h"
#include "util/text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lvn {
namespace {

bool IsBlank(char c) { return Byte(c) <= 0x20; }

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Bytes that stop the reader in a line: line ends, blanks, double quotes and commas.
bool IsOrdinary(char c) { return Byte(c) > 0x20 && c != '"' && c != ','; }

// The reader looks at a line this many bytes at a time.
constexpr std::size_t kBlock = 16;

// One bit for each byte of s[0, count) that is not ordinary, count <= kBlock. A log is
// mostly ordinary bytes, so whole blocks are tested at once where the processor can.
unsigned SpecialBytes(const char* s, std::size_t count) {
#if defined(__SSE2__)
  if (count == kBlock) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
    const __m128i blank = _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(0x20)), v);
    const __m128i quote = _mm_cmpeq_epi8(v, _mm_set1_epi8('"'));
    const __m128i comma = _mm_cmpeq_epi8(v, _mm_set1_epi8(','));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(blank, _mm_or_si128(quote, comma))));
  }
#endif
  unsigned bits = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsOrdinary(s[i])) bits |= 1u << i;
  }
  return bits;
}

}  // namespace

bool IsShown(int32_t code, ViewSwitches view) {
  switch (code) {
    case kEventCheckStart:
    case kEventCheckEnd:
      return view.CheckStart;
    case kEventCommError:
    case kEventCommRecovered:
      return view.ConnectError;
    case kEventOff:
      return view.Off;
    default:
      return true;
  }
}

int32_t ReadDecimal(std::string_view field) {
  // The usual field, a few digits and nothing else, cannot leave the range.
  if (!field.empty() && field.size() < 10 && field[0] >= '0' && field[0] <= '9') {
    int32_t value = 0;
    for (char c : field) {
      if (c < '0' || c > '9') break;
      value = value * 10 + (c - '0');
    }
    return value;
  }
  std::size_t p = 0;
  while (p < field.size() && IsSpace(field[p])) ++p;
  bool negative = false;
  if (p < field.size() && (field[p] == '+' || field[p] == '-')) {
    negative = field[p] == '-';
    ++p;
  }
  // Beyond this every further digit only pushes the value further past both limits.
  constexpr std::int64_t kCap = std::int64_t{INT32_MAX} + 1;
  std::int64_t value = 0;
  for (; p < field.size() && field[p] >= '0' && field[p] <= '9'; ++p) {
    value = value * 10 + (field[p] - '0');
    if (value > kCap) value = kCap;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(value);
}

int32_t ParseEventCode(std::string_view field) {
  const int32_t value = ReadDecimal(field);
  switch (value) {
    case kEventOff:
    case kEventCheckStart:
    case kEventCheckEnd:
    case kEventCommError:
    case kEventCommRecovered:
    case kEventAddressChange:
      return value;
    default:
      return -1;
  }
}

bool LineReader::Next(std::string_view* line) {
  if (rest_.empty()) return false;
  const char* const begin = rest_.data();
  const char* const end = begin + rest_.size();
  const char* p = begin;
  // All three line ends are below 0x0E, so most bytes take one comparison.
  while (p < end && (Byte(*p) > 0x0D || (*p != '\r' && *p != '\n' && *p != '\0'))) ++p;
  *line = std::string_view(begin, static_cast<std::size_t>(p - begin));
  if (p < end) p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
  rest_ = std::string_view(p, static_cast<std::size_t>(end - p));
  return true;
}

std::string_view FieldSplitter::QuotedField(std::string_view line, std::size_t* pos) {
  const auto& lead = LeadByteTable();
  const char* s = line.data();
  const std::size_t n = line.size();
  std::size_t p = *pos + 1;  // past the opening quote
  const std::size_t start = p;
  std::size_t copied_from = std::string::npos;  // where this field starts in scratch_
  while (p < n) {
    if (lead[Byte(s[p])] && p + 1 < n) {
      if (copied_from != std::string::npos) scratch_.append(s + p, 2);
      p += 2;
    } else if (s[p] != '"') {
      if (copied_from != std::string::npos) scratch_.push_back(s[p]);
      ++p;
    } else if (p + 1 < n && s[p + 1] == '"') {
      if (copied_from == std::string::npos) {
        // Undoubling never makes the line's fields longer than the line, so this one
        // reservation keeps every view into scratch_ valid until the next Split.
        if (scratch_.capacity() < n) scratch_.reserve(n);
        copied_from = scratch_.size();
        scratch_.append(s + start, p + 1 - start);
      } else {
        scratch_.push_back('"');
      }
      p += 2;
    } else {
      *pos = p + 1;
      if (copied_from == std::string::npos) return std::string_view(s + start, p - start);
      return std::string_view(scratch_).substr(copied_from);
    }
  }
  *pos = n;
  if (copied_from == std::string::npos) return std::string_view(s + start, n - start);
  return std::string_view(scratch_).substr(copied_from);
}

int FieldSplitter::Split(std::string_view line) {
  scratch_.clear();
  const auto& lead = LeadByteTable();
  const char* s = line.data();
  const std::size_t n = line.size();
  std::size_t p = 0;
  int count = 0;
  const auto skip_blanks = [&] {
    while (p < n && IsBlank(s[p])) ++p;
  };
  skip_blanks();
  while (p < n) {
    if (count == kRecordFields) return count + 1;
    if (s[p] == '"') {
      fields_[count++] = QuotedField(line, &p);
    } else {
      const std::size_t start = p;
      while (p < n && s[p] != ',' && !IsBlank(s[p])) p += lead[Byte(s[p])] && p + 1 < n ? 2u : 1u;
      fields_[count++] = std::string_view(s + start, p - start);
    }
    skip_blanks();
    if (p < n && s[p] == ',') {
      if (p == n - 1) {
        if (count == kRecordFields) return count + 1;
        fields_[count++] = std::string_view();
      }
      ++p;
      skip_blanks();
    }
  }
  return count;
}

bool ReadRecord(std::string_view line, FieldSplitter* splitter, RecordFields* record) {
  if (splitter->Split(line) != kRecordFields) return false;
  const int32_t code = ParseEventCode(splitter->Field(1));
  if (code < 0) return false;
  for (int i = 0; i < kRecordFields; ++i) record->Field[i] = splitter->Field(i);
  record->Code = code;
  return true;
}

RecordReader::RecordReader(std::string_view content) : content_(content) {}

bool RecordReader::Next() {
  const char* const s = content_.data();
  const std::size_t n = content_.size();
  if (next_ >= n) return false;
  start_ = next_;
  std::size_t commas[kRecordFields - 1] = {};
  int comma_count = 0;
  bool plain = true;
  std::size_t p = n;  // the line's end: its first CR, LF or zero byte, else the content's end
  bool ended = false;
  for (std::size_t block = start_; block < n && !ended; block += kBlock) {
    for (unsigned bits = SpecialBytes(s + block, std::min(kBlock, n - block)); bits != 0;
         bits &= bits - 1) {
      const std::size_t q = block + static_cast<std::size_t>(std::countr_zero(bits));
      const char c = s[q];
      if (c == ',') {
        if (comma_count < kRecordFields - 1) commas[comma_count] = q;
        ++comma_count;
        // The trail byte of a character is never a comma, but a stray lead byte in front
        // of one makes the two a character for the splitter. Lead bytes are 0x80 and
        // above; a line with such a byte before a comma is rare: the splitter decides.
        if (q > start_ && Byte(s[q - 1]) >= 0x80) plain = false;
      } else if (c == '\r' || c == '\n' || c == '\0') {
        p = q;
        ended = true;
        break;
      } else {
        plain = false;  // a double quote or a blank
      }
    }
  }
  line_ = std::string_view(s + start_, p - start_);
  crlf_ = p < n && s[p] == '\r' && p + 1 < n && s[p + 1] == '\n';
  next_ = p == n ? n : p + (crlf_ ? 2 : 1);

  code_ = -1;
  plain_ = false;
  if (plain) {
    if (comma_count != kRecordFields - 1) return true;
    std::size_t from = start_;
    for (int i = 0; i < kRecordFields - 1; ++i) {
      fields_[i] = std::string_view(s + from, commas[i] - from);
      from = commas[i] + 1;
    }
    fields_[kRecordFields - 1] = std::string_view(s + from, p - from);
    code_ = ParseEventCode(fields_[1]);
    plain_ = code_ >= 0;
    return true;
  }
  RecordFields record;
  if (ReadRecord(line_, &splitter_, &record)) {
    for (int i = 0; i < kRecordFields; ++i) fields_[i] = record.Field[i];
    code_ = record.Code;
  }
  return true;
}

}  // namespace lvn
