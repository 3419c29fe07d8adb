#include "windows/main/main_menu_win.h"

#include "desktop/menu_commands_win.h"
#include "util/texts.h"
#include "util/wide_text_win.h"
#include "windows/main/boxes_win.h"
#include "windows/main/main_window_ids.h"

namespace lvn {

namespace {

void AddItem(HMENU menu, UINT flags, UINT_PTR id, const char* text) {
  ::AppendMenuW(menu, flags, id, Wide(text).c_str());
}

}  // namespace

HMENU BuildMainMenu() {
  const texts::Texts& text = texts::Ui();
  HMENU file = ::CreatePopupMenu();
  AddItem(file, MF_STRING, kCmdOpenFolder, text.MenuOpenFolder);
  ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AddItem(file, MF_STRING, kCmdExitApp, text.MenuExit);
  HMENU settings = ::CreatePopupMenu();
  AddItem(settings, MF_STRING, kCmdOptions, text.MenuOptions);
  HMENU help = ::CreatePopupMenu();
  AddItem(help, MF_STRING, kCmdHelp, text.MenuHelpPage);
  AddItem(help, MF_STRING, kCmdHomePage, text.MenuHomePage);
  AddItem(help, MF_STRING, kCmdVersion, text.MenuVersion);
  HMENU bar = ::CreateMenu();
  AddItem(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), text.MenuFile);
  AddItem(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(settings), text.MenuSettings);
  AddItem(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), text.MenuHelp);
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
