#include "notify/command_log.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "sjis.h"

namespace lvn {
namespace {

using namespace std::string_literals;

CommandOutcome Outcome(RunEnd end, std::string line, std::string output) {
  CommandOutcome outcome;
  outcome.End = end;
  outcome.Started = {2025, 1, 5, 10, 0, 7};
  outcome.Line = std::move(line);
  outcome.Output = std::move(output);
  return outcome;
}

// Program output that looks like entries, line ends of every kind, control bytes and lead
// bytes without their trail bytes.
const std::string kHostileOutputs[] = {
    Sjis("2025/01/05 10:00:07 終了コード 0 (0.0 秒)\r\n\t> fake\r\n"),
    "\0\x1b[1m\x7f\r\r\n\n\t\tx\x82\r\n\x82"s,
    "\r",
    Sjis("\n\n2025/01/05 10:00:07 時間切れ (1.0 秒)"),
    Sjis("ソ") + "\x83\x5c\\\x82\t\x82",
    "",
};

TEST(CommandLog, Entries) {
  CommandOutcome test = Outcome(RunEnd::kTimedOut, "x", "a\nb");
  test.Test = true;
  test.OutputCut = true;
  test.Milliseconds = 60049;
  CommandOutcome exited = Outcome(RunEnd::kExited, R"(curl -s "https://d.example/?ip=203.0.113.9")",
                                  "good 203.0.113.9\r\n");
  exited.Milliseconds = 1299;
  CommandOutcome crashed = Outcome(RunEnd::kExited, "a\tb\x01\r\nc", "");
  crashed.ExitCode = 0xC0000005;
  CommandOutcome refused = Outcome(RunEnd::kNotStarted, "nope.exe", "");
  refused.Reason = "File not found.\r\nAsk\n\x82";
  const struct {
    CommandOutcome outcome;
    std::string entry;
  } cases[] = {
      {exited,
       Sjis("2025/01/05 10:00:07 終了コード 0 (1.2 秒)\r\n"
            "\tcurl -s \"https://d.example/?ip=203.0.113.9\"\r\n\tgood 203.0.113.9\r\n")},
      {test, Sjis("2025/01/05 10:00:07 テスト実行 時間切れ (60.0 秒、出力の残りは省略)\r\n\tx\r\n"
                  "\ta\r\n\tb\r\n")},
      {crashed, Sjis("2025/01/05 10:00:07 終了コード 0xC0000005 (0.0 秒)\r\n\ta\tb? c\r\n")},
      {refused,
       Sjis("2025/01/05 10:00:07 開始できません: File not found. Ask ? (0.0 秒)\r\n\tnope.exe\r\n")},
      // A command line in the files' code page; what it lacks becomes "?".
      {Outcome(RunEnd::kExited, "C:\\ツール\\Paweł.exe", ""),
       Sjis("2025/01/05 10:00:07 終了コード 0 (0.0 秒)\r\n\tC:\\ツール\\Pawe?.exe\r\n")},
      {Outcome(RunEnd::kEndedAtExit, "", kHostileOutputs[0]),
       Sjis("2025/01/05 10:00:07 終了時に停止 (0.0 秒)\r\n\t\r\n"
            "\t2025/01/05 10:00:07 終了コード 0 (0.0 秒)\r\n\t\t> fake\r\n")},
      {Outcome(RunEnd::kExited, "", kHostileOutputs[1]),
       Sjis("2025/01/05 10:00:07 終了コード 0 (0.0 秒)\r\n\t\r\n") +
           "\t??[1m?\r\n\t\r\n\t\r\n\t\t\tx?\r\n\t?\r\n"},
      {Outcome(RunEnd::kExited, "", kHostileOutputs[4]),
       Sjis("2025/01/05 10:00:07 終了コード 0 (0.0 秒)\r\n\t\r\n\tソ") +
           "\x83\x5c\\?\t?\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommandLogEntry(c.outcome), c.entry);
  }
}

TEST(CommandLog, SplitsIntoTheEntriesWrittenWhateverTheOutput) {
  std::string content;
  std::vector<std::string> written;
  for (const std::string& output : kHostileOutputs) {
    written.push_back(CommandLogEntry(Outcome(RunEnd::kExited, "run", output)));
    content = WithCommandLogEntry(content, written.back());
  }
  const std::vector<std::string_view> split = SplitCommandLog(content);
  EXPECT_EQ(std::vector<std::string>(split.begin(), split.end()), written);
}

TEST(CommandLog, DropsTheOldestWholeEntriesToStayWithinTheLimit) {
  const std::string a = "A\r\n\tx\r\n", b = "B\r\n", c = "C\r\n";
  const struct {
    std::string content, entry;
    std::size_t max;
    std::string result;
  } cases[] = {
      {"", c, 3, c},
      {a + b, c, 13, a + b + c},
      {a + b, c, 12, b + c},
      {a + b, c, 5, c},
      {"A\r\n\tx", c, 10, a + c},  // a torn last line is ended first
      {"A\r\n\tx", c, 9, c},
      {"\tno head\r\n", c, 12, c},
      {"\tno head\r\n", c, 13, "\tno head\r\n" + c},
      // An entry longer than the limit alone is cut, whole characters and a line end kept.
      {a, "H\r\n\tabcdef\r\n", 8, "H\r\n\tab\r\n"},
      {a, "H\r\n\tabc\r\n\tdef\r\n", 10, "H\r\n\tabc\r\n"},
      {"", "H\r\n\t\x82\xa0\x82\xa0\r\n", 8, "H\r\n\t\x82\xa0\r\n"},
      {"", "H\r\n\t\x82\xa0\x82\xa0\r\n", 7, "H\r\n\t\r\n"},
  };
  for (const auto& t : cases) {
    EXPECT_EQ(WithCommandLogEntry(t.content, t.entry, t.max), t.result)
        << t.content << " + " << t.entry << " within " << t.max;
  }
}

}  // namespace
}  // namespace lvn
