#include "util/clipboard_win.h"

#include <cstring>

#include "util/scoped_win.h"
#include "util/wide_text_win.h"

namespace lvn {

bool PutTextOnClipboard(HWND owner, std::string_view text) {
  const std::wstring wide = Wide(text);
  ScopedGlobal block(::GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t)));
  if (!block) return false;
  {
    auto* units = static_cast<wchar_t*>(::GlobalLock(block.Get()));
    if (units == nullptr) return false;
    std::memcpy(units, wide.data(), wide.size() * sizeof(wchar_t));
    units[wide.size()] = L'\0';
    ::GlobalUnlock(block.Get());
  }
  // Another program may hold the clipboard for a moment.
  bool opened = false;
  for (int attempt = 0; attempt < 5 && !opened; ++attempt) {
    opened = ::OpenClipboard(owner) != FALSE;
    if (!opened) ::Sleep(10);
  }
  if (!opened) return false;
  bool given = false;
  if (::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, block.Get()) != nullptr) {
    static_cast<void>(block.Release());  // the system owns it now
    given = true;
  }
  ::CloseClipboard();
  return given;
}

}  // namespace lvn
