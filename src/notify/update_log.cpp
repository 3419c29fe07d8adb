#include "notify/update_log.h"

#include "util/code_page.h"

namespace lvn {
namespace {

// A server's word or a host is not ours: nothing in it may start a line or a field.
std::string Field(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return text;
}

}  // namespace

std::string UpdateLogEntry(const UpdateLogLine& line) {
  std::string text = FormatDateTime(line.At);
  for (const std::string* field :
       {&line.Target, &line.Event, &line.Address, &line.Result, &line.Url}) {
    text += '\t';
    text += Field(*field);
  }
  return Cp932OrQuestionMarks(text) + "\r\n";
}

}  // namespace lvn
