// The history log "log.csv" as bytes: one record per line, five comma-separated fields
// (record key, event code, date, time, text), Shift-JIS text, CR LF line ends.
//
// Reading and writing agree on one rule for double-byte characters: a lead byte and the
// byte after it are one character wherever they stand, so a trail byte that happens to be
// a comma, a double quote or a backslash never separates or quotes anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lvn {

inline constexpr int32_t kEventOff = 0;
inline constexpr int32_t kEventCheckStart = 1;
inline constexpr int32_t kEventCheckEnd = 2;
inline constexpr int32_t kEventCommError = 11;
inline constexpr int32_t kEventCommRecovered = 12;
inline constexpr int32_t kEventAddressChange = 20;

// The texts the program writes for its own records, as the file holds them (code page 932
// bytes, whatever the interface language), and the date and time of an off record.
inline constexpr char kRecordCheckStart[] = "\x83\x60\x83\x46\x83\x62\x83\x4e\x8a\x4a\x8e\x6e";  // チェック開始
inline constexpr char kRecordCheckEnd[] = "\x83\x60\x83\x46\x83\x62\x83\x4e\x8f\x49\x97\xb9";  // チェック終了
inline constexpr char kRecordCommError[] = "\x92\xca\x90\x4d\x83\x47\x83\x89\x81\x5b";  // 通信エラー
inline constexpr char kRecordCommRecovered[] = "\x92\xca\x90\x4d\x89\xf1\x95\x9c";  // 通信回復
inline constexpr char kRecordOffMark[] = "***";

inline constexpr char kLogFileName[] = "log.csv";
// Beside the log: records that could not be appended before the program ended, in the
// log's format, for the next start to append first.
inline constexpr char kSavedRecordsFileName[] = "log.pending.csv";
// That file once an start took it: never read again, whatever happens to it.
inline constexpr char kTakenRecordsFileName[] = "log.pending.taken";
// Write keeps at most kRecordTextCapacity - 1 bytes of a record's text.
inline constexpr std::size_t kRecordTextCapacity = 50;
inline constexpr int kRecordFields = 5;
// The largest log the program reads into memory (2 GiB - 1 bytes); a larger one is
// reported, not read, and never rewritten.
inline constexpr std::size_t kMaxLogBytes = 0x7FFFFFFF;

// The main window's three view switches: which kinds of record the grid shows.
struct ViewSwitches {
  bool CheckStart = true;    // codes 1 and 2
  bool ConnectError = true;  // codes 11 and 12
  bool Off = true;           // code 0
  friend bool operator==(const ViewSwitches&, const ViewSwitches&) = default;
};

// Whether a valid record with this code is shown; address changes always are.
bool IsShown(int32_t code, ViewSwitches view);

// The decimal integer at the start of field: leading white space and one sign are
// skipped, digits are read up to the first other byte, no digits gives 0, and a value
// beyond the signed 32-bit range is clamped to its nearest limit.
int32_t ReadDecimal(std::string_view field);

// The event code a field holds (0, 1, 2, 11, 12 or 20), or -1 for any other value.
int32_t ParseEventCode(std::string_view field);

// Cuts a file's bytes into lines. CR LF, a lone LF, a lone CR and a zero byte each end a
// line; a last line without a line end still counts. A zero byte only ends its line, so
// whatever follows a zero-filled block is still read.
class LineReader {
 public:
  explicit LineReader(std::string_view content) : rest_(content) {}
  // The next line, without its line end; false after the last.
  bool Next(std::string_view* line);

 private:
  std::string_view rest_;
};

// Cuts a line into fields. Bytes up to 0x20 separate fields like a comma, and spaces
// around a comma vanish; a comma that is the line's last byte adds an empty field. A
// field that starts with a double quote runs to the next quote that is not doubled, each
// doubled quote standing for one; without a closing quote it takes the rest of the line.
class FieldSplitter {
 public:
  // The number of fields; counting stops one past kRecordFields.
  int Split(std::string_view line);
  // Field i < min(count, kRecordFields) of the last Split, valid until the next Split.
  std::string_view Field(int i) const { return fields_[i]; }

 private:
  std::string_view QuotedField(std::string_view line, std::size_t* pos);

  std::string scratch_;  // fields whose doubled quotes had to be undone
  std::string_view fields_[kRecordFields];
};

// A line that is a valid record: exactly five fields and a known event code.
struct RecordFields {
  std::string_view Field[kRecordFields];
  int32_t Code = -1;
};
bool ReadRecord(std::string_view line, FieldSplitter* splitter, RecordFields* record);

// Reads a log's lines and records in one pass over its bytes, allocating nothing per line.
// It finds exactly what LineReader and ReadRecord find. A line as Write produces it (no
// quote, no byte up to 0x20, no comma right after a byte of 0x80 or above, which could be
// a lead byte) is cut at its commas directly; any other line goes through FieldSplitter.
class RecordReader {
 public:
  explicit RecordReader(std::string_view content);

  // Steps to the next line; false after the last.
  bool Next();

  // The current line without its line end, and where it starts in the content.
  std::string_view Line() const { return line_; }
  std::size_t LineStart() const { return start_; }
  // Where the next line starts: the end of this one's line end.
  std::size_t NextStart() const { return next_; }

  // A valid record: five fields and a known code. Field and Code are meaningful only then,
  // and only until the next call of Next.
  bool IsRecord() const { return code_ >= 0; }
  int32_t Code() const { return code_; }
  std::string_view Field(int i) const { return fields_[i]; }
  // A record whose fields 1 to 4 a rewrite writes back byte for byte as they stand in the
  // line, from the line's first comma on.
  bool IsPlain() const { return plain_; }
  // The line ended with CR LF.
  bool EndsInCrLf() const { return crlf_; }

 private:
  std::string_view content_;
  std::size_t start_ = 0;
  std::size_t next_ = 0;
  std::string_view line_;
  std::string_view fields_[kRecordFields];
  int32_t code_ = -1;
  bool plain_ = false;
  bool crlf_ = false;
  FieldSplitter splitter_;
};

}  // namespace lvn
