// Base64 (RFC 4648, the standard alphabet with padding): Basic authentication, encoded
// header words, and protected secrets kept as text in the settings file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lvn {

std::string Base64Of(std::string_view bytes);

// The bytes text stands for; nothing unless it is padded Base64 and nothing else (no
// blanks, no line breaks, no URL alphabet), as only this program writes it.
std::optional<std::string> BytesOfBase64(std::string_view text);

}  // namespace lvn
