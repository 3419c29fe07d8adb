// How a run of the change command ended, and command.log in the data folder, which keeps
// an entry for each run: Shift-JIS text, CR LF line ends, the newest entry last.
//
// An entry is a head line (when the run started, how it ended, how long it took) and then
// lines that each start with a tab: the command line as run, then what it wrote. A line
// that starts with anything but a tab starts an entry, whatever the program wrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/local_time.h"

namespace lvn {

inline constexpr char kCommandLogFileName[] = "command.log";
inline constexpr std::size_t kMaxCommandLogBytes = std::size_t{1} << 20;
// Bytes of a run's output and error streams kept for its entry.
inline constexpr std::size_t kKeptOutputBytes = 1000;

enum class RunEnd {
  kExited,       // ExitCode holds the exit code
  kTimedOut,     // ended with its tree at the time limit
  kNotStarted,   // Reason holds the system's message
  kEndedAtExit,  // ended with its tree because the program exits
};

struct CommandOutcome {
  bool Test = false;  // started by RunTest, not by a change
  RunEnd End = RunEnd::kNotStarted;
  uint32_t ExitCode = 0;
  LocalTime Started;       // when the run started, or failed to
  std::string Line;        // the command line as run, UTF-8
  std::string Reason;      // why it could not start, UTF-8
  std::string Output;      // the first kKeptOutputBytes bytes of its output and error streams
  bool OutputCut = false;  // it wrote more than Output holds
  uint32_t Milliseconds = 0;
  bool Logged = false;  // its entry is in command.log
};

// How the run ended, in a few words: its exit code, a time-out, why it did not start.
std::string RunEndText(const CommandOutcome& outcome);

// The outcome's entry, in the file's code page (932). Line ends in the output become the entry's (CR LF), a trailing one
// adds no empty line; other control bytes, and a lead byte that no trail byte follows,
// become '?'.
std::string CommandLogEntry(const CommandOutcome& outcome);

// content with entry appended after it and its oldest entries dropped, whole, until the
// result holds at most max_bytes (2 or more). A content that ends in a torn line gets a
// line end first. An entry longer than max_bytes alone is cut where a character ends and
// keeps a line end.
std::string WithCommandLogEntry(std::string_view content, std::string_view entry,
                                std::size_t max_bytes = kMaxCommandLogBytes);

// The entries of command.log's bytes, in order; together they are all of content.
std::vector<std::string_view> SplitCommandLog(std::string_view content);

}  // namespace lvn
