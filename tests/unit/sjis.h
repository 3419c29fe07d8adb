// Test texts are written in UTF-8; the files hold code page 932.
#pragma once

#include <string>
#include <string_view>

#include "util/code_page.h"

namespace lvn {

inline std::string Sjis(std::string_view utf8) {
  std::string bytes;
  Cp932OfUtf8(utf8, &bytes);
  return bytes;
}

}  // namespace lvn
