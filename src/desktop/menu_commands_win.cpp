#include "desktop/menu_commands_win.h"

#include <shellapi.h>

#include <string>

#include "settings/settings.h"
#include "util/data_folder_win.h"
#include "util/path.h"
#include "util/texts.h"
#include "util/wide_text_win.h"

namespace lvn {
namespace {

// What the shell opens: a path that is not UTF-8 names nothing, and nothing is opened.
void ShellOpen(HWND owner, const wchar_t* verb, const std::string& target) {
  std::wstring wide;
  if (!WideOfUtf8Strict(target, &wide)) return;
  ::ShellExecuteW(owner, verb, wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void OpenDataFolder(const char* data_folder) { ShellOpen(nullptr, L"open", data_folder); }

void OpenHelpPage() {
  std::string program;
  if (!ProgramPath(&program)) return;
  ShellOpen(nullptr, L"open", HelpPagePath(program, texts::Ui().HelpPage));
}

void OpenHomePage(HWND owner) { ShellOpen(owner, L"Open", kHomePage); }

}  // namespace lvn
