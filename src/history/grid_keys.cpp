#include "history/grid_keys.h"

#include "util/text.h"

namespace lvn {

GridKeyAction DecideGridKey(std::uint16_t key, bool shift, bool ctrl, bool alt, bool delete_mode) {
  if (shift) return GridKeyAction::kNone;
  if (ctrl) return key == kKeyA ? GridKeyAction::kSelectAll : GridKeyAction::kNone;
  if (alt) return GridKeyAction::kNone;
  if (key == kKeyF4) return delete_mode ? GridKeyAction::kLeaveDeleteMode : GridKeyAction::kNone;
  if (key == kKeyDelete) return delete_mode ? GridKeyAction::kDelete : GridKeyAction::kAskForDeleteMode;
  return GridKeyAction::kNone;
}

std::string_view CopyTextOf(std::string_view cell) { return TrimBlanks(cell); }

}  // namespace lvn
