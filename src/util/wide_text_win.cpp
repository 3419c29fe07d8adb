#include "util/wide_text_win.h"

#include <windows.h>

#include <climits>
#include <utility>

namespace lvn {
namespace {

constexpr UINT kFilesCodePage = 932;

bool ToWide(UINT code_page, DWORD flags, std::string_view text, std::wstring* wide) {
  if (text.size() > INT_MAX) return false;
  std::wstring out;
  const int length = static_cast<int>(text.size());
  if (length > 0) {
    const int needed = ::MultiByteToWideChar(code_page, flags, text.data(), length, nullptr, 0);
    if (needed <= 0) return false;
    out.resize(static_cast<std::size_t>(needed));
    if (::MultiByteToWideChar(code_page, flags, text.data(), length, out.data(), needed) !=
        needed) {
      return false;
    }
  }
  *wide = std::move(out);
  return true;
}

bool FromWide(UINT code_page, std::wstring_view wide, std::string* text) {
  if (wide.size() > INT_MAX) return false;
  std::string out;
  const int length = static_cast<int>(wide.size());
  if (length > 0) {
    // UTF-8 takes no default character; code page 932 must report one it used.
    const bool utf8 = code_page == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL used_default = FALSE;
    BOOL* used = utf8 ? nullptr : &used_default;
    const int needed =
        ::WideCharToMultiByte(code_page, flags, wide.data(), length, nullptr, 0, nullptr, used);
    if (needed <= 0 || used_default) return false;
    out.resize(static_cast<std::size_t>(needed));
    if (::WideCharToMultiByte(code_page, flags, wide.data(), length, out.data(), needed, nullptr,
                              used) != needed ||
        used_default) {
      return false;
    }
  }
  *text = std::move(out);
  return true;
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
  std::wstring wide;
  ToWide(CP_UTF8, 0, utf8, &wide);
  return wide;
}

bool WideOfUtf8Strict(std::string_view utf8, std::wstring* wide) {
  return ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, wide);
}

std::string Utf8Of(std::wstring_view wide) {
  std::string text;
  FromWide(CP_UTF8, wide, &text);
  return text;
}

std::wstring WideOfProgramOutput(std::string_view bytes) {
  std::wstring wide;
  if (!ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, &wide)) ToWide(CP_OEMCP, 0, bytes, &wide);
  return wide;
}

std::wstring WideOfCp932(std::string_view cp932) {
  std::wstring wide;
  ToWide(kFilesCodePage, 0, cp932, &wide);
  return wide;
}

bool Cp932OfWide(std::wstring_view wide, std::string* cp932) {
  return FromWide(kFilesCodePage, wide, cp932);
}

}  // namespace lvn
