#include "notify/command_log.h"

#include "util/ascii.h"
#include "util/code_page.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {
namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// One character of text at *i, appended to *out by the entry's rules; line breaks are
// left to the caller.
void AppendCharacter(std::string* out, std::string_view text, std::size_t* i) {
  const unsigned char b = Byte(text[*i]);
  // Every code page's trail bytes are 0x40 or above: a lead byte before a line break or
  // a tab would swallow it in a reader.
  if (IsLeadByte(b)) {
    if (*i + 1 < text.size() && Byte(text[*i + 1]) >= 0x40) {
      out->append(text.substr(*i, 2));
      *i += 2;
      return;
    }
    out->push_back('?');
  } else if ((b < 0x20 && b != '\t') || b == 0x7F) {
    out->push_back('?');
  } else {
    out->push_back(static_cast<char>(b));
  }
  ++*i;
}

// text on one line: each of its line breaks becomes a space.
void AppendOneLine(std::string* out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    if (IsLineBreak(text[i])) {
      out->push_back(' ');
      i += text.substr(i, 2) == "\r\n" ? 2u : 1u;
    } else {
      AppendCharacter(out, text, &i);
    }
  }
}

void AppendOutputLines(std::string* out, std::string_view output) {
  for (std::size_t i = 0; i < output.size();) {
    out->push_back('\t');
    while (i < output.size() && !IsLineBreak(output[i])) AppendCharacter(out, output, &i);
    if (i < output.size()) {
      i += output.substr(i, 2) == "\r\n" ? 2u : 1u;
    }
    out->append("\r\n");
  }
}

std::string ExitCodeText(uint32_t code) {
  // Codes this large are NTSTATUS values or -1 and its kin, which read as hex.
  if (code < 0x10000) return std::to_string(code);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) hex.push_back(kDigits[(code >> shift) & 0xF]);
  return hex;
}

bool StartsEntry(std::string_view content, std::size_t pos) {
  return pos == 0 || (content[pos - 1] == '\n' && content[pos] != '\t');
}

}  // namespace

// The program's text (UTF-8) on one line: line breaks become spaces, other control
// characters "?".
std::string OneLineOfText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char b = Byte(text[i]);
    if (IsLineBreak(text[i])) {
      out.push_back(' ');
      if (text.substr(i, 2) == "\r\n") ++i;
    } else {
      out.push_back((b < 0x20 && b != '\t') || b == 0x7F ? '?' : text[i]);
    }
  }
  return out;
}

std::string RunEndText(const CommandOutcome& outcome) {
  switch (outcome.End) {
    case RunEnd::kExited:
      return texts::Ui().CommandExitCode + ExitCodeText(outcome.ExitCode);
    case RunEnd::kTimedOut:
      return texts::Ui().CommandTimedOut;
    case RunEnd::kNotStarted: {
      return texts::Ui().CommandNotStarted + OneLineOfText(outcome.Reason);
    }
    case RunEnd::kEndedAtExit:
      return texts::Ui().CommandEndedAtExit;
  }
  return "";
}

std::string CommandLogEntry(const CommandOutcome& outcome) {
  std::string head = FormatDateTime(outcome.Started);
  head.push_back(' ');
  if (outcome.Test) {
    head += texts::Ui().CommandTest;
    head.push_back(' ');
  }
  head += RunEndText(outcome);
  head += " (" + std::to_string(outcome.Milliseconds / 1000) + "." +
          std::to_string(outcome.Milliseconds % 1000 / 100) + " " + texts::Ui().Seconds;
  if (outcome.OutputCut) head += texts::Ui().CommandOutputCut;
  head += ")";
  // The file's code page; the output is kept as the program wrote it.
  std::string entry = Cp932OrQuestionMarks(head);
  entry += "\r\n\t";
  AppendOneLine(&entry, Cp932OrQuestionMarks(outcome.Line));
  entry += "\r\n";
  AppendOutputLines(&entry, outcome.Output);
  return entry;
}

std::string WithCommandLogEntry(std::string_view content, std::string_view entry,
                                std::size_t max_bytes) {
  if (entry.size() > max_bytes) {
    std::string cut(
        entry.substr(0, WholeCharacterPrefix(entry.data(), entry.size(), max_bytes - 2)));
    if (!cut.empty() && cut.back() == '\r') cut.pop_back();
    return cut + "\r\n";
  }
  const auto line_end = [](std::string_view kept) {
    return std::string_view(!kept.empty() && kept.back() != '\n' ? "\r\n" : "");
  };
  std::string_view kept = content;
  for (const std::string_view oldest : SplitCommandLog(content)) {
    if (kept.size() + line_end(kept).size() + entry.size() <= max_bytes) break;
    kept.remove_prefix(oldest.size());
  }
  std::string result(kept);
  result += line_end(kept);
  result += entry;
  return result;
}

std::vector<std::string_view> SplitCommandLog(std::string_view content) {
  std::vector<std::string_view> entries;
  std::size_t start = 0;
  for (std::size_t pos = 1; pos < content.size(); ++pos) {
    if (StartsEntry(content, pos)) {
      entries.push_back(content.substr(start, pos - start));
      start = pos;
    }
  }
  if (start < content.size()) entries.push_back(content.substr(start));
  return entries;
}

}  // namespace lvn
