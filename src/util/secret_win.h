// The update targets' secrets at rest: protected for the current user on this PC and kept
// in the settings file as Base64, so that a copy of the file is of no use elsewhere.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lvn {

// Base64 of plain, protected for the current user; nothing when the system cannot protect.
std::optional<std::string> ProtectSecret(std::string_view plain);

// The plain text ProtectSecret protected; nothing when the text is not Base64 or damaged,
// or was protected by another user, on another PC or by another program.
std::optional<std::string> UnprotectSecret(std::string_view protected_base64);

// Zeroes text's bytes before emptying it, so that freed memory holds no plain secret.
void WipeSecret(std::string* text);

}  // namespace lvn
