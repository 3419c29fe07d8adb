#include "notify/change_command.h"

#include <cstddef>

#include "util/ascii.h"
#include "util/text.h"
#include "util/texts.h"

namespace lvn {
namespace {

// Whether text at pos starts with name, ASCII case ignored.
bool HasNameAt(std::string_view text, std::size_t pos, std::string_view name) {
  if (text.size() - pos < name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (AsciiUpper(text[pos + i]) != name[i]) return false;
  }
  return true;
}

}  // namespace

CommandRefusal PrepareChangeCommand(std::string_view command, std::string_view ip,
                                    std::string_view old_ip, ChangeCommand* out) {
  if (TrimBlanks(command).empty()) return CommandRefusal::kNoCommand;
  if (!IsWellFormedAddress(ip)) return CommandRefusal::kAddressMalformed;
  if (!IsWellFormedAddress(old_ip)) old_ip = {};
  // '%' is never the trail byte of a double-byte character, so a byte scan finds only
  // real percent signs.
  std::string line;
  for (std::size_t i = 0; i < command.size();) {
    if (HasNameAt(command, i, "%IP%")) {
      line += ip;
      i += 4;
    } else if (HasNameAt(command, i, "%OLDIP%")) {
      line += old_ip;
      i += 7;
    } else {
      line += command[i++];
    }
  }
  out->Line = std::move(line);
  out->Ip = ip;
  out->OldIp = old_ip;
  return CommandRefusal::kNone;
}

const char* RefusalText(CommandRefusal refusal) {
  switch (refusal) {
    case CommandRefusal::kNone:
      return "";
    case CommandRefusal::kNoCommand:
      return texts::Ui().CommandRefusedEmpty;
    case CommandRefusal::kAddressMalformed:
      return texts::Ui().CommandRefusedAddress;
  }
  return "";
}

}  // namespace lvn
