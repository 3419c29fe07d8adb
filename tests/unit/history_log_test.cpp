#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "history/local_time.h"
#include "history/log_format.h"
#include "history/log_write.h"
#include "sjis.h"

namespace lvn {
namespace {

using namespace std::string_literals;
using Texts = std::vector<std::string>;

const LocalTime kMorning{2019, 7, 4, 9, 5, 3};

Texts Lines(const std::string& content) {
  Texts lines;
  LineReader reader(content);
  std::string_view line;
  while (reader.Next(&line)) lines.emplace_back(line);
  return lines;
}

// The fields the splitter finds, and "+" when there are more than a record's five.
Texts Fields(const std::string& line) {
  FieldSplitter splitter;
  const int count = splitter.Split(line);
  Texts fields;
  for (int i = 0; i < count && i < kRecordFields; ++i) fields.emplace_back(splitter.Field(i));
  if (count > kRecordFields) fields.emplace_back("+");
  return fields;
}

TEST(HistoryLog, NumbersReadAsClampedDecimals) {
  const struct {
    std::string field;
    int32_t value, code;
  } cases[] = {
      {"20abc", 20, 20},         {"abc", 0, 0},  // no digits: the off marker
      {"5", 5, -1},              {" \t+11", 11, 11},
      {"--1", 0, 0},             {"-99999999999", INT32_MIN, -1},
      {"4294967316", INT32_MAX, -1},  // 2^32 + 20 must not wrap round to 20
      {std::string(5000, '9'), INT32_MAX, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadDecimal(c.field), c.value) << c.field;
    EXPECT_EQ(ParseEventCode(c.field), c.code) << c.field;
  }
  EXPECT_EQ(NextRecordKey(-1), 0);
  EXPECT_EQ(NextRecordKey(INT32_MAX), INT32_MAX);
}

TEST(HistoryLog, LinesEndAtEveryLineEndAndAtZeroBytes) {
  const struct {
    std::string content;
    Texts lines;
  } cases[] = {
      {"", {}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\r\r\nb\n\r", {"a", "", "b", ""}},
      {"\x81\r\nx", {"\x81", "x"}},  // a lead byte does not swallow the line end
      {"a\r\n\0\0b\r\n"s, {"a", "", "", "b"}},  // records after a zero block stay
  };
  for (const auto& c : cases) EXPECT_EQ(Lines(c.content), c.lines) << c.content;
}

TEST(HistoryLog, FieldsSplitByQuotesBlanksCommasAndWholeCharacters) {
  const struct {
    std::string line;
    Texts fields;
  } cases[] = {
      {"7,20,d,t,", {"7", "20", "d", "t", ""}},
      {" a b\tc\x01" "d ", {"a", "b", "c", "d"}},
      {"a ,, b", {"a", "", "b"}},
      {"a, ", {"a"}},  // the comma is not the last byte: no empty field after it
      {"\"a b\",\"x\"\"y\",\"\"cd", {"a b", "x\"y", "", "cd"}},
      {"\"open, \"\"quote", {"open, \"quote"}},  // unclosed: the rest of the line
      // Trail bytes that look like a comma, a quote or a blank belong to their character.
      {"x\x81,y,\"\x81\"\",\x81\\,\xE0 z", {"x\x81,y", "\x81\"", "\x81\\", "\xE0 z"}},
      {"\"a\x81\"", {"a\x81\""}},
      {"1,2,3,4,5,", {"1", "2", "3", "4", "5", "+"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Fields(c.line), c.fields) << c.line;
}

// The one-pass reader takes a short cut through lines as Write makes them; it must find
// what the line reader and the splitter find, and take the short cut only where it may.
TEST(HistoryLog, TheOnePassReaderAgreesWithTheReferenceReaders) {
  const struct {
    std::string line;
    bool plain;  // fields 1 to 4 may be copied as they stand
  } cases[] = {
      {"7,20,2019/07/04,09:05:03,203.0.113.5", true},
      {"0,1,d,t,チェック開始", true},
      {"7,20,d,t,", true},
      {"7,20abc,d,t,x", true},
      {"7,5,d,t,x", false},           // not a record
      {"7,20,d,t", false},            // four fields
      {",,,,", true},                 // five empty fields: an off marker
      {"7,20,d,t,a b", false},        // a blank separates like a comma
      {"7,20,d,t,\"a,b\"", false},   // quoted
      {"7,20,d,t\x81,x", false},      // the comma is a trail byte: four fields
      {"7,20,d,\x81\x81,x", false},   // a whole character before the comma: read exactly
  };
  for (const auto& c : cases) {
    for (const std::string end : {"", "\r\n", "\n", "\r"}) {
      const std::string content = c.line + end + (end.empty() ? "" : "1,20,d,t,next\r\n");
      RecordReader reader(content);
      LineReader lines(content);
      FieldSplitter splitter;
      RecordFields record;
      std::string_view line;
      while (lines.Next(&line)) {
        ASSERT_TRUE(reader.Next()) << c.line;
        EXPECT_EQ(reader.Line(), line) << c.line;
        const bool valid = ReadRecord(line, &splitter, &record);
        ASSERT_EQ(reader.IsRecord(), valid) << line;
        if (!valid) continue;
        for (int i = 0; i < kRecordFields; ++i) EXPECT_EQ(reader.Field(i), record.Field[i]) << line;
      }
      EXPECT_FALSE(reader.Next());
      RecordReader first(content);
      ASSERT_TRUE(first.Next());
      EXPECT_EQ(first.IsPlain(), c.plain) << c.line;
      EXPECT_EQ(first.EndsInCrLf(), end == "\r\n") << c.line;
    }
  }
}

TEST(HistoryLog, WrittenFieldsReadBackUnchanged) {
  const struct {
    std::string field, written;
    bool last_only;  // ends in half a character, which only a line's last field can
  } cases[] = {
      {"", "", false},
      {"a\\b", "a\\b", false},
      {" a,b\t", "\" a,b\t\"", false},
      {"a\"b", "\"a\"\"b\"", false},
      {"\x81\"", "\"\x81\"\"", false},  // a trail byte is no quote: not doubled
      {"\x81\x81\x81,", "\"\x81\x81\x81,\"", false},
      {"x\x81", "x\x81", true},
      {"a b\x81", "\"a b\x81", true},  // a closing quote would become its trail byte
  };
  for (const auto& c : cases) {
    std::string written;
    AppendField(&written, c.field);
    EXPECT_EQ(written, c.written) << c.field;
    EXPECT_EQ(Fields("0,20,d,t," + written), (Texts{"0", "20", "d", "t", c.field})) << c.field;
    if (c.last_only) continue;
    EXPECT_EQ(Fields("0,20," + written + ",t,x"), (Texts{"0", "20", c.field, "t", "x"}));
  }
}

TEST(HistoryLog, WriteFollowsTheRecordFormatAndARewriteKeepsItByteForByte) {
  const std::string x49(49, 'x');
  const struct {
    int32_t code;
    std::string text, line;
  } cases[] = {
      {1, kRecordCheckStart, Sjis("0,1,2019/07/04,09:05:03,チェック開始\r\n")},
      {11, "ignored", Sjis("1,11,2019/07/04,09:05:03,通信エラー\r\n")},
      {12, "", Sjis("2,12,2019/07/04,09:05:03,通信回復\r\n")},
      {0, "***", "3,0,***,***,***\r\n"},
      {20, "", "4,20,2019/07/04,09:05:03,\r\n"},
      // Texts from the network must not break the record apart.
      {20, "a,b\r\nc\"", "5,20,2019/07/04,09:05:03,\"a,b  c\"\"\"\r\n"},
      {20, x49 + "yz", "6,20,2019/07/04,09:05:03," + x49 + "\r\n"},
      // A character that does not fit whole is left out, not cut in half.
      {20, x49.substr(1) + Sjis("あ"), "7,20,2019/07/04,09:05:03," + x49.substr(1) + "\r\n"},
      {20, "1 \x81", "8,20,2019/07/04,09:05:03,\"1 \x81\r\n"},
  };
  std::string file;
  int32_t key = 0;
  for (const auto& c : cases) {
    const std::string line = RecordLine(key++, c.code, c.text.c_str(), kMorning);
    EXPECT_EQ(line, c.line);
    file += line;
  }
  const LogRewrite rewrite = RewriteLog(file, -1, -1, ViewSwitches{false, false, false});
  EXPECT_EQ(rewrite.Content, file);
  EXPECT_EQ(rewrite.LastRecordKey, key - 1);
  EXPECT_EQ(FormatDateTime(LocalTime{12345, 7, -1, 9, 5, 3}), "9999/07/00 09:05:03");
}

TEST(HistoryLog, RewriteDropsInvalidLinesRemovesShownRecordsAndRenumbers) {
  const ViewSwitches all, no_checks{false, true, true};
  const std::string a = "0,20,d,t,A\r\n", b = "1,1,d,t,B\r\n", c = "2,20,d,t,C\r\n",
                    e = "3,11,d,t,E\r\n", f = "4,20,d,t,F\r\n";
  const struct {
    std::string content;
    int32_t first, last;
    ViewSwitches view;
    std::string output;
    int32_t last_key;
  } cases[] = {
      {"x\r\n\r\n1,5,d,t,x\r\n0,20,d,t,a b\r\n", -1, -1, all, "", -1},
      {"0,20,d,t,A\n1,1,d,t,B\r5,20,d,t,C\r\n0,11,d,t,E", -1, -1, all, a + b + c + e, 3},
      // Keys the program never writes are records all the same, and Remove(-1) keeps them.
      {"-1,20,d,t,A\r\n\0\0\0-1,1,d,t,B\r\n"s, -1, -1, all, a + b, 1},
      {"0, 20abc , d ,t,\"a b\"", -1, -1, all, "0,20abc,d,t,\"a b\"\r\n", 0},
      // Places 0 to 2 are A, B and C: hidden B stays, and E is outside the range.
      {a + b + c + e + f, 0, 2, no_checks, "0,1,d,t,B\r\n1,11,d,t,E\r\n2,20,d,t,F\r\n", 2},
      // The place counts, not the key field, so a renumbering that never reached the
      // file cannot turn a deletion onto other records.
      {"0,20,d,t,A\r\n0,20,d,t,C\r\n", 1, 1, all, a, 0},
      {a + b + c, 2, 1, all, a + b + c, 2},
  };
  for (const auto& cs : cases) {
    const LogRewrite rewrite = RewriteLog(cs.content, cs.first, cs.last, cs.view);
    EXPECT_TRUE(rewrite.Write);
    EXPECT_EQ(rewrite.Content, cs.output) << cs.content;
    EXPECT_EQ(rewrite.LastRecordKey, cs.last_key) << cs.content;
  }
  EXPECT_FALSE(RewriteLog("", -1, -1, all).Write);
}

}  // namespace
}  // namespace lvn
