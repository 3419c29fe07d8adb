// Base64 (RFC 4648, the standard alphabet with padding): Basic authentication, encoded
// header words, and protected secrets kept as text in the settings file.
#pragma once

#include <string>
#include <string_view>

namespace lvn {

std::string Base64Of(std::string_view bytes);

}  // namespace lvn
