#include "util/code_page.h"

namespace lvn {

std::string Cp932OrQuestionMarks(std::string_view utf8) {
  std::string out;
  if (Cp932OfUtf8(utf8, &out)) return out;
  out.clear();
  std::string one;
  for (std::size_t i = 0; i < utf8.size();) {
    // One character: a lead byte and the continuation bytes after it.
    std::size_t end = i + 1;
    if (static_cast<unsigned char>(utf8[i]) >= 0xC0) {
      while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    }
    if (Cp932OfUtf8(utf8.substr(i, end - i), &one)) {
      out += one;
    } else {
      out.push_back('?');
    }
    i = end;
  }
  return out;
}

}  // namespace lvn
