// Entry point: one copy per logon, then the main window and the message loop.
#include <windows.h>

#include <string>

#include "app/single_instance_win.h"
#include "ui/application_win.h"
#include "util/system_library_win.h"
#include "util/texts.h"
#include "windows/main/main_window_win.h"
#include "windows/options/option_window_win.h"

namespace lvn {
namespace {

int RunApplication(HINSTANCE instance) {
  ui::InitializeApplication(instance);
  // Left after every window has gone: their accessible objects are disconnected by then.
  const ui::ComApartment apartment;
  ui::SetApplicationTitle(texts::kAppTitle);
  if (!TfrmMain::RegisterWindowClass() || !TfrmOption::RegisterWindowClass()) {
    ui::ShowExceptionMessage("");
    return 0;
  }
  // Destroyed at the end of this function, or as an exception leaves it.
  TfrmMain main_window;
  std::string error;
  if (!main_window.Create(&error)) {
    ui::ShowExceptionMessage(error.c_str());
    return 0;
  }
  main_window.Show();
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
  return exit_code;
}
