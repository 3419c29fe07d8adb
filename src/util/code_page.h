// The files' code page (932, Shift-JIS) and the program's own text (UTF-8), converted
// explicitly, never through the system's code page.
#pragma once

#include <string>
#include <string_view>

namespace lvn {

// Bytes that code page 932 does not map become U+FFFD.
std::string Utf8OfCp932(std::string_view cp932);
// False, with *cp932 untouched, when a character has no form in code page 932 (or the
// text is not UTF-8): such a text must be refused, never stored as "?".
bool Cp932OfUtf8(std::string_view utf8, std::string* cp932);

}  // namespace lvn

namespace lvn {

// For a log, which must say something: each character code page 932 lacks becomes "?".
std::string Cp932OrQuestionMarks(std::string_view utf8);

}  // namespace lvn
