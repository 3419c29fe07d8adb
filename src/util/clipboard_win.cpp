#include "util/clipboard_win.h"

#include <cstring>

#include "util/scoped_win.h"

namespace lvn {

bool PutTextOnClipboard(HWND owner, std::string_view text) {
  ScopedGlobal block(::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (!block) return false;
  {
    auto* bytes = static_cast<char*>(::GlobalLock(block.Get()));
    if (bytes == nullptr) return false;
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
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
  if (::EmptyClipboard() && ::SetClipboardData(CF_TEXT, block.Get()) != nullptr) {
    static_cast<void>(block.Release());  // the system owns it now
    given = true;
  }
  ::CloseClipboard();
  return given;
}

}  // namespace lvn
