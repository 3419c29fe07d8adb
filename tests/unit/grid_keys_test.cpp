#include "history/grid_keys.h"

#include <gtest/gtest.h>

#include <string>

namespace lvn {
namespace {

TEST(GridCommands, KeysFollowTheTableInItsOrder) {
  using A = GridKeyAction;
  constexpr std::uint16_t kDown = 0x28;
  const struct {
    std::uint16_t key;
    bool shift, ctrl, alt, delete_mode;
    A want;
  } cases[] = {
      {kKeyDelete, true, false, false, true, A::kNone},   // Shift first, even in delete mode
      {kKeyA, true, true, false, false, A::kNone},
      {kKeyA, false, true, false, false, A::kSelectAll},
      {kKeyA, false, true, true, false, A::kSelectAll},   // Alt may be held too
      {kKeyA, false, false, false, false, A::kNone},
      {kKeyDelete, false, true, false, true, A::kNone},   // other Ctrl keys
      {kKeyF4, false, false, true, true, A::kNone},       // Alt+F4 goes on to the window
      {kKeyDelete, false, false, true, true, A::kNone},
      {kKeyF4, false, false, false, true, A::kLeaveDeleteMode},
      {kKeyF4, false, false, false, false, A::kNone},
      {kKeyDelete, false, false, false, false, A::kAskForDeleteMode},
      {kKeyDelete, false, false, false, true, A::kDelete},
      {kDown, false, false, false, true, A::kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideGridKey(c.key, c.shift, c.ctrl, c.alt, c.delete_mode), c.want)
        << std::hex << c.key << " shift " << c.shift << " ctrl " << c.ctrl << " alt " << c.alt
        << " delete mode " << c.delete_mode;
  }
}

TEST(GridCommands, CopyLeavesOutBlanksAndControlBytesAtBothEnds) {
  const struct {
    std::string cell, copied;
  } cases[] = {
      {"  通信エラー", "通信エラー"},
      {"  203.0.113.5", "203.0.113.5"},
      {"チェック開始", "チェック開始"},
      {std::string("\0\t a b \r\x1F", 9), "a b"},
      {"\x81\x40", "\x81\x40"},  // a full-width space is a character, not a blank byte
      {"   ", ""},
      {"適用", "適用"},
  };
  for (const auto& c : cases) EXPECT_EQ(CopyTextOf(c.cell), c.copied) << c.cell;
}

}  // namespace
}  // namespace lvn
