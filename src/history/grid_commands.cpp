#include "history/grid_commands.h"

namespace lvn {

GridKeyAction DecideGridKey(std::uint16_t key, bool shift, bool ctrl, bool alt, bool delete_mode) {
  if (shift) return GridKeyAction::kNone;
  if (ctrl) return key == kKeyA ? GridKeyAction::kSelectAll : GridKeyAction::kNone;
  if (alt) return GridKeyAction::kNone;
  if (key == kKeyF4) return delete_mode ? GridKeyAction::kLeaveDeleteMode : GridKeyAction::kNone;
  if (key == kKeyDelete) return delete_mode ? GridKeyAction::kDelete : GridKeyAction::kAskForDeleteMode;
  return GridKeyAction::kNone;
}

std::string_view CopyTextOf(std::string_view cell) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!cell.empty() && blank(cell.front())) cell.remove_prefix(1);
  while (!cell.empty() && blank(cell.back())) cell.remove_suffix(1);
  return cell;
}

}  // namespace lvn
