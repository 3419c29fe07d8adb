// The main menu's commands that go to the shell: フォルダを開く, ヘルプ and ホームページ.
// The shell's answers are not looked at: a missing folder, page or browser shows nothing
// of its own.
#pragma once

#include <windows.h>

namespace lvn {

// The data folder (UTF-8), with its trailing "\", in the file manager.
void OpenDataFolder(const char* data_folder);
// The help page of the interface's language in the help folder beside the program, in the
// user's program for it.
void OpenHelpPage();
// The program's home page, in the browser.
void OpenHomePage(HWND owner);

}  // namespace lvn
