// The clipboard, as plain ANSI text.
#pragma once

#include <windows.h>

#include <string_view>

namespace lvn {

// Replaces what the clipboard holds with text as CF_TEXT (zero-terminated). False, with
// the clipboard as it was, when it cannot be opened or the text not handed over.
bool PutTextOnClipboard(HWND owner, std::string_view text);

}  // namespace lvn
