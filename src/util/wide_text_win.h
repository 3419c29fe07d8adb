// Text in the active ANSI code page (the program's own) as UTF-16, for the calls that
// take only that.
#pragma once

#include <string>
#include <string_view>

namespace lvn {

enum class Unmapped {
  kFail,     // false, with the system's error set: what is run must be what was written
  kReplace,  // the code page's default character: what is only read or shown
};

// False when text is too long for the system, or for bytes the code page does not map
// and kFail.
bool AnsiToWide(std::string_view text, std::wstring* wide, Unmapped unmapped = Unmapped::kFail);

}  // namespace lvn
