// The native build converts with iconv, whose "CP932" is the same table as Windows'.
#include <iconv.h>

#include <cerrno>
#include <string>
#include <utility>
#include <string_view>

#include "util/code_page.h"

namespace lvn {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // False at the first byte sequence that does not convert; *consumed says where.
  bool Convert(std::string_view in, std::string* out, std::size_t* consumed) {
    *consumed = 0;
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    char buffer[256];
    while (src_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out->append(buffer, static_cast<std::size_t>(dst - buffer));
      *consumed = in.size() - src_left;
      if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string Utf8OfCp932(std::string_view cp932) {
  Converter converter("UTF-8", "CP932");
  std::string out;
  while (!cp932.empty()) {
    std::size_t consumed = 0;
    if (converter.Convert(cp932, &out, &consumed)) break;
    out += "\xEF\xBF\xBD";
    cp932.remove_prefix(consumed + 1);
  }
  return out;
}

bool Cp932OfUtf8(std::string_view utf8, std::string* cp932) {
  Converter converter("CP932", "UTF-8");
  std::string out;
  std::size_t consumed = 0;
  if (!converter.Convert(utf8, &out, &consumed)) return false;
  *cp932 = std::move(out);
  return true;
}

}  // namespace lvn
