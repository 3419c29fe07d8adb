// Paths for the program's ANSI calls. A character that the ANSI code page lacks would come
// out as "?", and such a path names no file: a folder under a name like "José" must be
// reached by its short (8.3) name instead.
#pragma once

#include <cstddef>

namespace lvn {

// path itself when the ANSI code page holds every character of it, else its short form when
// that does. False, with dest empty, when neither does or it does not fit in n - 1 bytes.
bool AnsiPathOf(const wchar_t* path, char* dest, std::size_t n);

// path's short form, when the ANSI code page holds it. False, with dest empty, when the
// file system gives none or it does not fit in n - 1 bytes.
bool ShortAnsiPathOf(const wchar_t* path, char* dest, std::size_t n);

// The program file's full path, the same way. False, with dest empty, when there is none.
bool ProgramAnsiPath(char* dest, std::size_t n);
// The program file's short path, as ShortAnsiPathOf gives it.
bool ProgramShortAnsiPath(char* dest, std::size_t n);

}  // namespace lvn
