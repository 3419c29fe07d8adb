// Entry point: one copy per logon, then the two windows and the message loop.
#include <windows.h>

#include <memory>
#include <string>

#include "windows/main/main_window_win.h"
#include "app/single_instance_win.h"
#include "util/texts.h"
#include "windows/options/option_window_win.h"
#include "ui/application_win.h"
#include "util/system_library_win.h"

namespace lvn {
namespace {

// The two process-wide windows; other code reaches the main window through frmMain.
std::unique_ptr<TfrmMain> frmMain;
std::unique_ptr<TfrmOption> frmOption;

int RunApplication(HINSTANCE instance) {
  ui::InitializeApplication(instance);
  ui::SetApplicationTitle(texts::kAppTitle);
  if (!TfrmMain::RegisterWindowClass() || !TfrmOption::RegisterWindowClass()) {
    ui::ShowExceptionMessage("");
    return 0;
  }
  frmMain = std::make_unique<TfrmMain>();
  std::string error;
  if (!frmMain->Create(&error)) {
    ui::ShowExceptionMessage(error.c_str());
    return 0;
  }
  // Made with the main window and never shown: each Settings command opens a window of its own.
  frmOption = std::make_unique<TfrmOption>(frmMain.get());
  if (!frmOption->Create(frmMain->Handle())) {
    ui::ShowExceptionMessage("");
    return 0;
  }
  frmMain->Show();
  ui::RunMessageLoop();
  return 0;
}

}  // namespace
}  // namespace lvn

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything loads a DLL: none may come from the program's folder.
  lvn::RestrictDllSearchToSystem32();
  // Held until the process ends, so later starts in this logon are refused.
  lvn::ScopedHandle mutex;
  if (lvn::ClaimSingleInstance(lvn::kInstanceMutexName, &mutex) ==
      lvn::InstanceClaim::kAlreadyRunning) {
    ::MessageBoxA(nullptr, lvn::texts::kAlreadyRunning, lvn::texts::kAppTitle, MB_OK);
    return 0;
  }
  int exit_code = 0;
  try {
    exit_code = lvn::RunApplication(instance);
  } catch (...) {
    lvn::ui::ShowCurrentException();
  }
  lvn::frmOption.reset();
  lvn::frmMain.reset();
  return exit_code;
}
