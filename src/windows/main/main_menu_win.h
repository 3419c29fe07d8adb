// The main window's menu bar, and those of its commands that go to the shell or show a box.
#pragma once

#include <windows.h>

namespace lvn {

// The menu bar: ファイル, 設定 and ヘルプ with their items. Owned by the window it is given to.
HMENU BuildMainMenu();

// Carries out a command of the menu bar that needs nothing of the window's state but its
// data folder: フォルダを開く, ヘルプ, ホームページ, バージョン情報. False for any other id.
bool RunMenuCommand(int id, HWND owner, const char* data_folder);

}  // namespace lvn
