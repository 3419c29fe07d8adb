// Entry point: one copy per logon, then the main window and the message loop.
#include <windows.h>

#include <string>

#include "app/single_instance_win.h"
#include "ui/application_win.h"
#include "util/system_library_win.h"
#include "util/text.h"
#include "util/texts.h"
#include "util/wide_text_win.h"
#include "windows/main/main_window_win.h"
#include "windows/options/option_window_win.h"

namespace lvn {
namespace {

// A start at logon asks for the notification area: a shortcut set to run minimized, or
// the /tray switch.
bool StartsInTray(const char* arguments, int show) {
  return show == SW_SHOWMINNOACTIVE || show == SW_SHOWMINIMIZED || show == SW_MINIMIZE ||
         HasSwitch(arguments != nullptr ? arguments : "", "/tray");
}

// setting: [View] Language, empty when the settings have not been read.
void ChooseLanguage(const std::string& setting) {
  texts::UseLanguage(texts::LanguageFor(setting, ::GetUserDefaultUILanguage()));
}

int RunApplication(HINSTANCE instance, bool to_tray) {
  ui::InitializeApplication(instance);
  // Left after every window has gone: their accessible objects are disconnected by then.
  const ui::ComApartment apartment;
  // Destroyed at the end of this function, or as an exception leaves it.
  TfrmMain main_window;
  // Before any window: lvn.ini may choose the interface language. A file that cannot be
  // read is told by Create, in the language Windows' own interface has.
  main_window.ReadSettingsFile();
  ChooseLanguage(main_window.LanguageSetting());
  ui::SetApplicationTitle(texts::Ui().AppTitle);
  if (!TfrmMain::RegisterWindowClass() || !TfrmOption::RegisterWindowClass()) {
    ui::ShowExceptionMessage("");
    return 0;
  }
  std::string error;
  if (!main_window.Create(&error)) {
    ui::ShowExceptionMessage(error.c_str());
    return 0;
  }
  main_window.Show(to_tray);
  ui::RunMessageLoop();
  return 0;
}

}  // namespace
}  // namespace lvn

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int show) {
  // Before anything loads a DLL: none may come from the program's folder.
  lvn::RestrictDllSearchToSystem32();
  // The box that refuses a second copy comes before the settings are read.
  lvn::ChooseLanguage("");
  // Held until the process ends, so later starts in this logon are refused.
  lvn::ScopedHandle mutex;
  if (lvn::ClaimSingleInstance(lvn::kInstanceMutexName, &mutex) ==
      lvn::InstanceClaim::kAlreadyRunning) {
    ::MessageBoxW(nullptr, lvn::Wide(lvn::texts::Ui().AlreadyRunning).c_str(),
                  lvn::Wide(lvn::texts::Ui().AppTitle).c_str(), MB_OK);
    return 0;
  }
  int exit_code = 0;
  try {
    exit_code = lvn::RunApplication(instance, lvn::StartsInTray(arguments, show));
  } catch (...) {
    lvn::ui::ShowCurrentException();
  }
  return exit_code;
}
