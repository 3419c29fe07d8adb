// Base64 (RFC 4648, the standard alphabet with padding): Basic authentication, encoded
// header words, and protected secrets kept as text in the settings file.
#pragma once

#include <string>
#include <string_view>

namespace lvn {

std::string Base64Of(std::string_view bytes);

// The bytes of a padded Base64 text; false, with *bytes untouched, for anything else
// (line breaks and blanks included).
bool BytesOfBase64(std::string_view text, std::string* bytes);

}  // namespace lvn
