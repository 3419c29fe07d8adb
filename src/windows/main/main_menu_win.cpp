#include "windows/main/main_menu_win.h"

#include "desktop/menu_commands_win.h"
#include "util/texts.h"
#include "windows/main/main_window_ids.h"

namespace lvn {

HMENU BuildMainMenu() {
  HMENU file = ::CreatePopupMenu();
  ::AppendMenuA(file, MF_STRING, kCmdOpenFolder, texts::Ui().MenuOpenFolder);
  ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(file, MF_STRING, kCmdExitApp, texts::Ui().MenuExit);
  HMENU settings = ::CreatePopupMenu();
  ::AppendMenuA(settings, MF_STRING, kCmdOptions, texts::Ui().MenuOptions);
  HMENU help = ::CreatePopupMenu();
  ::AppendMenuA(help, MF_STRING, kCmdHelp, texts::Ui().MenuHelpPage);
  ::AppendMenuA(help, MF_STRING, kCmdHomePage, texts::Ui().MenuHomePage);
  ::AppendMenuA(help, MF_STRING, kCmdVersion, texts::Ui().MenuVersion);
  HMENU bar = ::CreateMenu();
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), texts::Ui().MenuFile);
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(settings), texts::Ui().MenuSettings);
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), texts::Ui().MenuHelp);
  return bar;
}

bool RunMenuCommand(int id, HWND owner, const char* data_folder) {
  switch (id) {
    case kCmdOpenFolder:
      OpenDataFolder(data_folder);
      return true;
    case kCmdHelp:
      OpenHelpPage();
      return true;
    case kCmdHomePage:
      OpenHomePage(owner);
      return true;
    case kCmdVersion:
      ShowVersionBox(owner);
      return true;
    default:
      return false;
  }
}

}  // namespace lvn
