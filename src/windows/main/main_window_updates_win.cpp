#include "windows/main/main_window_win.h"

namespace lvn {

std::string TfrmMain::TargetStatus(std::size_t) const { return std::string(); }

void TfrmMain::TestTargetSend(std::size_t, HWND) {}

void TfrmMain::TargetEdited(std::size_t) {}

}  // namespace lvn
