# Cross-compiles lorvane.exe and the Windows tests with MinGW-w64 on Linux.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LVN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LVN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LVN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LVN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LVN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# What runs the programs built here: Wine's 64-bit loader itself, never Debian's wine
# wrapper, which takes the 32-bit loader whenever wine32 is installed.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
