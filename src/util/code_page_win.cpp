#include <windows.h>

#include "util/code_page.h"
#include "util/wide_text_win.h"

namespace lvn {

std::string Utf8OfCp932(std::string_view cp932) { return Utf8Of(WideOfCp932(cp932)); }

bool Cp932OfUtf8(std::string_view utf8, std::string* cp932) {
  std::wstring wide;
  if (!WideOfUtf8Strict(utf8, &wide)) return false;
  return Cp932OfWide(wide, cp932);
}

}  // namespace lvn
