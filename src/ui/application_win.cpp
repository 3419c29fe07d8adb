#include "ui/application_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <vector>

#include "util/text.h"

namespace lvn::ui {

namespace {

constexpr std::size_t kTitleCapacity = 100;

HINSTANCE g_instance = nullptr;
// The top-level windows whose keys move between their controls as in a dialog.
std::vector<HWND> g_dialog_windows;
char g_title[kTitleCapacity] = "";

}  // namespace

void InitializeApplication(HINSTANCE instance) {
  g_instance = instance;
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES;
  ::InitCommonControlsEx(&controls);
}

HINSTANCE ApplicationInstance() { return g_instance; }

void SetApplicationTitle(const char* title) { CopyText(g_title, title, sizeof g_title); }

const char* ApplicationTitle() { return g_title; }

void UseDialogKeys(HWND window, bool use) {
  const auto found = std::find(g_dialog_windows.begin(), g_dialog_windows.end(), window);
  if (use && found == g_dialog_windows.end()) g_dialog_windows.push_back(window);
  if (!use && found != g_dialog_windows.end()) g_dialog_windows.erase(found);
}

int RunMessageLoop() {
  MSG msg{};
  for (;;) {
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 0;
    if (msg.hwnd != nullptr) {
      const HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
      if (std::find(g_dialog_windows.begin(), g_dialog_windows.end(), root) !=
              g_dialog_windows.end() &&
          ::IsDialogMessageA(root, &msg)) {
        continue;
      }
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void ShowExceptionMessage(const char* message) {
  ::MessageBoxA(::GetActiveWindow(), message, g_title, MB_OK | MB_ICONSTOP);
}

void ShowCurrentException() noexcept {
  // Anything that is not a standard exception is shown with an empty message.
  try {
    throw;
  } catch (const std::exception& e) {
    ShowExceptionMessage(e.what());
  } catch (...) {
    ShowExceptionMessage("");
  }
}

}  // namespace lvn::ui
