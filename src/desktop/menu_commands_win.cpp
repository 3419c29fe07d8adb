#include "desktop/menu_commands_win.h"

#include <shellapi.h>

#include "lvn_version.h"
#include "settings/settings.h"
#include "util/ansi_path_win.h"
#include "util/path.h"
#include "util/text.h"
#include "util/texts.h"
#include "util/version_win.h"

namespace lvn {
namespace {

constexpr std::size_t kVersionCapacity = 100;
constexpr std::size_t kVersionBoxCapacity = 300;

}  // namespace

void OpenDataFolder(const char* data_folder) {
  ::ShellExecuteA(nullptr, "open", data_folder, nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenHelpPage() {
  char program[kPathCapacity];
  ProgramAnsiPath(program, sizeof program);
  char page[kPathCapacity];
  HelpPagePath(page, program, sizeof page);
  ::ShellExecuteA(nullptr, "open", page, nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenHomePage(HWND owner) {
  ::ShellExecuteA(owner, "Open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowVersionBox(HWND owner) {
  char program[kPathCapacity];
  ProgramAnsiPath(program, sizeof program);
  char version[kVersionCapacity];
  FileVersionText(version, program, sizeof version);
  // Two carriage returns and no line feed: an empty line before the notice.
  char text[kVersionBoxCapacity];
  JoinTexts(text, texts::Ui().AppTitle, texts::Ui().VersionPrefix, version, "\r\r", LVN_COPYRIGHT,
            sizeof text);
  ::MessageBoxA(owner, text, texts::Ui().VersionCaption, MB_OK);
}

}  // namespace lvn
