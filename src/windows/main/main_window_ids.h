// Control and command ids of the main window, which tests and assistive tools use to find
// and drive its parts.
#pragma once

namespace lvn {

enum MainWindowControlId : int {
  kIdNowIp = 101,
  kIdUpdateTime = 102,
  kIdUpdate = 103,
  kIdMainGrid = 104,
  kIdTaskTrayIbent = 105,
  kIdStatus = 106,
};

// Menu commands, as WM_COMMAND ids.
enum MainWindowCommandId : int {
  kCmdOpenFolder = 201,
  kCmdExitApp = 202,
  kCmdOptions = 203,
  kCmdHelp = 204,
  kCmdHomePage = 205,
  kCmdVersion = 206,
  kCmdTrayExit = 207,
};

}  // namespace lvn
