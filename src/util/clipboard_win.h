// The clipboard, as Unicode text.
#pragma once

#include <windows.h>

#include <string_view>

namespace lvn {

// Replaces what the clipboard holds with text (UTF-8) as CF_UNICODETEXT. False, with the
// clipboard as it was, when it cannot be opened or the text not handed over.
bool PutTextOnClipboard(HWND owner, std::string_view text);

}  // namespace lvn
