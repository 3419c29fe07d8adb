#include "ui/application_win.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstddef>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "util/wide_text_win.h"

namespace lvn::ui {

namespace {

HINSTANCE g_instance = nullptr;
// The top-level windows whose keys move between their controls as in a dialog.
std::vector<HWND> g_dialog_windows;
std::string g_title;

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

void SetApplicationTitle(const char* title) { g_title = title != nullptr ? title : ""; }

const char* ApplicationTitle() { return g_title.c_str(); }

void UseDialogKeys(HWND window, bool use) {
  const auto found = std::find(g_dialog_windows.begin(), g_dialog_windows.end(), window);
  if (use && found == g_dialog_windows.end()) g_dialog_windows.push_back(window);
  if (!use && found != g_dialog_windows.end()) g_dialog_windows.erase(found);
}

namespace {

// The character after a single "&" in text ("&&" is a plain "&"), or 0.
wchar_t MnemonicOf(std::wstring_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] == L'&') {
      ++i;
      continue;
    }
    return text[i + 1];
  }
  return L'\0';
}

// An ASCII letter in upper case; anything else as it is.
wchar_t AsciiUpper(wchar_t c) {
  return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// The window's text, whole.
std::wstring TextOfWindow(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

// The focus to control, as Tab gives it: an edit's text selected whole.
void FocusControl(HWND control) {
  ::SetFocus(control);
  if ((::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
    ::SendMessageW(control, EM_SETSEL, 0, -1);
  }
}

// Alt+letter in a window with dialog keys, as Windows' dialogs take it: a letter that names
// one button clicks it, one that names a label moves the focus to the control after it (the
// field it stands for); a letter that names several moves the focus to the next of them,
// clicking nothing, so that the user can tell them apart. False when no control has it.
bool HandleMnemonic(HWND window, WPARAM key) {
  if (key > 0x7F) return false;
  const wchar_t letter = AsciiUpper(static_cast<wchar_t>(key));
  std::vector<HWND> named;
  bool label = false;
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    const LONG_PTR style = ::GetWindowLongPtrW(child, GWL_STYLE);
    if ((style & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE) continue;
    const LRESULT code = ::SendMessageW(child, WM_GETDLGCODE, 0, 0);
    if ((code & (DLGC_BUTTON | DLGC_STATIC)) == 0) continue;
    if ((code & DLGC_STATIC) != 0 && (style & SS_NOPREFIX) != 0) continue;
    if (letter == L'\0' || AsciiUpper(MnemonicOf(TextOfWindow(child))) != letter) continue;
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
    ::SendMessageW(named.front(), BM_CLICK, 0, 0);
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
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 0;
    if (msg.hwnd != nullptr) {
      const HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
      if (std::find(g_dialog_windows.begin(), g_dialog_windows.end(), root) !=
              g_dialog_windows.end() &&
          ((msg.message == WM_SYSCHAR && HandleMnemonic(root, msg.wParam)) ||
           ::IsDialogMessageW(root, &msg))) {
        continue;
      }
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void ShowExceptionMessage(const char* message) {
  ::MessageBoxW(::GetActiveWindow(), Wide(message != nullptr ? message : "").c_str(),
                Wide(g_title).c_str(), MB_OK | MB_ICONSTOP);
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
