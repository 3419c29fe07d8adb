// The program's text (UTF-8) and the files' (code page 932) as the UTF-16 that every call
// into Windows takes: the one place where text changes form at that boundary.
#pragma once

#include <string>
#include <string_view>

namespace lvn {

// Malformed UTF-8 becomes U+FFFD: for what is shown.
std::wstring Wide(std::string_view utf8);
// False, with *wide untouched, for malformed UTF-8: for what is run or stored.
bool WideOfUtf8Strict(std::string_view utf8, std::wstring* wide);
// A lone surrogate becomes U+FFFD.
std::string Utf8Of(std::wstring_view wide);

// What a program wrote to its output: UTF-8 when it is that, else the console's code
// page, the one console programs write in.
std::wstring WideOfProgramOutput(std::string_view bytes);

// Bytes code page 932 does not map become U+FFFD.
std::wstring WideOfCp932(std::string_view cp932);
// False, with *cp932 untouched, when a character has no form in code page 932.
bool Cp932OfWide(std::wstring_view wide, std::string* cp932);

}  // namespace lvn
