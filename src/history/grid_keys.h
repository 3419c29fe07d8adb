// The history grid's commands without the grid: what a key does (the table behind
// HistoryGridCommands::OnKeyDown) and what the copy command copies.
#pragma once

#include <cstdint>
#include <string_view>

namespace lvn {

// Virtual-key codes the table names.
inline constexpr std::uint16_t kKeyA = 0x41;
inline constexpr std::uint16_t kKeyDelete = 0x2E;  // VK_DELETE
inline constexpr std::uint16_t kKeyF4 = 0x73;      // VK_F4

enum class GridKeyAction {
  kNone,              // the grid treats the key as usual
  kSelectAll,         // rows 1 .. RowCount - 1, the current row last; consumed
  kLeaveDeleteMode,   // consumed
  kAskForDeleteMode,  // on Yes delete mode, then kDelete; on No the grid treats the key
  kDelete,            // delete the selected rows; consumed
};

// The key's tests in their order; the first that applies decides. Shift held:
// nothing. Ctrl+A (Alt may be held too): select all. Any other key with Ctrl or Alt:
// nothing. F4 in delete mode: leave it. Delete: ask outside delete mode, delete in it.
GridKeyAction DecideGridKey(std::uint16_t key, bool shift, bool ctrl, bool alt, bool delete_mode);

// The copy command's text: the cell's text without the bytes 0x00 to 0x20 at either end
// (the indent of codes 11, 12 and 20 among them).
std::string_view CopyTextOf(std::string_view cell);

}  // namespace lvn
