#include "ui/application_win.h"

#include <cstddef>
#include <exception>

#include "util/text.h"

namespace lvn::ui {

namespace {

constexpr std::size_t kTitleCapacity = 100;

HINSTANCE g_instance = nullptr;
char g_title[kTitleCapacity] = "";

}  // namespace

void InitializeApplication(HINSTANCE instance) { g_instance = instance; }

HINSTANCE ApplicationInstance() { return g_instance; }

void SetApplicationTitle(const char* title) { CopyText(g_title, title, sizeof g_title); }

const char* ApplicationTitle() { return g_title; }

int RunMessageLoop(HWND dialog_window) {
  MSG msg{};
  for (;;) {
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 0;
    if (dialog_window != nullptr && ::IsWindow(dialog_window) &&
        ::IsDialogMessageA(dialog_window, &msg)) {
      continue;
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
