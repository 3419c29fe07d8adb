#include "ui/application_win.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <vector>

#include "util/ascii.h"
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

ComApartment::ComApartment()
    : entered_(SUCCEEDED(
          ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComApartment::~ComApartment() {
  if (entered_) ::CoUninitialize();
}

void SetApplicationTitle(const char* title) { CopyText(g_title, title, sizeof g_title); }

const char* ApplicationTitle() { return g_title; }

void UseDialogKeys(HWND window, bool use) {
  const auto found = std::find(g_dialog_windows.begin(), g_dialog_windows.end(), window);
  if (use && found == g_dialog_windows.end()) g_dialog_windows.push_back(window);
  if (!use && found != g_dialog_windows.end()) g_dialog_windows.erase(found);
}

namespace {

// The letter after a single "&" in text ("&&" is a plain "&"), or 0. A "&" is never the
// trail byte of a character, so the bytes can be looked at one by one.
char MnemonicOf(const char* text) {
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return p[1];
  }
  return '\0';
}

// The focus to control, as Tab gives it: an edit's text selected whole.
void FocusControl(HWND control) {
  ::SetFocus(control);
  if ((::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
    ::SendMessageA(control, EM_SETSEL, 0, -1);
  }
}

// Alt+letter in a window with dialog keys, as Windows' dialogs take it: a letter that names
// one button clicks it, one that names a label moves the focus to the control after it (the
// field it stands for); a letter that names several moves the focus to the next of them,
// clicking nothing, so that the user can tell them apart. False when no control has it.
bool HandleMnemonic(HWND window, WPARAM key) {
  if (key > 0x7F) return false;
  const char letter = AsciiUpper(static_cast<char>(key));
  std::vector<HWND> named;
  bool label = false;
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
    if ((style & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE) continue;
    const LRESULT code = ::SendMessageA(child, WM_GETDLGCODE, 0, 0);
    if ((code & (DLGC_BUTTON | DLGC_STATIC)) == 0) continue;
    if ((code & DLGC_STATIC) != 0 && (style & SS_NOPREFIX) != 0) continue;
    char text[128] = "";
    ::GetWindowTextA(child, text, sizeof text);
    if (letter == '\0' || AsciiUpper(MnemonicOf(text)) != letter) continue;
    if ((code & DLGC_STATIC) != 0) {
      HWND field = ::GetNextDlgTabItem(window, child, FALSE);
      if (field == nullptr) continue;
      named.push_back(field);
      label = true;
    } else {
      named.push_back(child);
    }
  }
  if (named.empty()) return false;
  if (named.size() == 1 && !label) {
    ::SendMessageA(named.front(), BM_CLICK, 0, 0);
    return true;
  }
  const auto focused = std::find(named.begin(), named.end(), ::GetFocus());
  const auto next = focused == named.end() || focused + 1 == named.end() ? named.begin()
                                                                          : focused + 1;
  FocusControl(*next);
  return true;
}

}  // namespace

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
          ((msg.message == WM_SYSCHAR && HandleMnemonic(root, msg.wParam)) ||
           ::IsDialogMessageA(root, &msg))) {
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
