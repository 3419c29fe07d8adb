#include "util/wide_text_win.h"

#include <windows.h>

#include <climits>

namespace lvn {

bool AnsiToWide(std::string_view text, std::wstring* wide, Unmapped unmapped) {
  wide->clear();
  if (text.empty()) return true;
  if (text.size() > INT_MAX) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const DWORD flags = unmapped == Unmapped::kFail ? MB_ERR_INVALID_CHARS : 0;
  const int length = static_cast<int>(text.size());
  const int needed = ::MultiByteToWideChar(CP_ACP, flags, text.data(), length, nullptr, 0);
  if (needed <= 0) return false;
  wide->resize(static_cast<std::size_t>(needed));
  return ::MultiByteToWideChar(CP_ACP, flags, text.data(), length, wide->data(), needed) ==
         needed;
}

}  // namespace lvn
