# Windows build with MinGW-w64: lorvane.exe and the tests that run under Wine.
enable_language(RC)

configure_file(${PROJECT_SOURCE_DIR}/res/version.h.in ${PROJECT_BINARY_DIR}/generated/lvn_version.h)

# One folder for every executable, so the e2e tests find lorvane.exe beside them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)

# Nothing but system DLLs at run time.
set(LVN_STATIC_LINK -static -static-libgcc -static-libstdc++)

add_library(lvn_win STATIC ${LVN_CORE_SOURCES} ${LVN_WIN_SOURCES})
lvn_target_options(lvn_win)
target_include_directories(lvn_win PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)
target_compile_definitions(lvn_win PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 UNICODE _UNICODE)
# WinINet, version.dll and oleacc.dll are loaded from System32 at run time, not imported:
# a DLL that is no KnownDLL would be looked for beside the program first. ole32 and
# oleaut32 are KnownDLLs.
target_link_libraries(lvn_win PUBLIC shell32 ole32 oleaut32 comctl32 gdi32 user32 kernel32)

add_executable(lorvane WIN32 src/app/main_win.cpp res/lorvane.rc)
# The resource compiler reads these too; a change to either rebuilds the resources.
set_source_files_properties(res/lorvane.rc PROPERTIES OBJECT_DEPENDS
                            "${PROJECT_SOURCE_DIR}/res/lorvane.manifest;${PROJECT_SOURCE_DIR}/res/lorvane.ico")
lvn_target_options(lorvane)
target_include_directories(lorvane PRIVATE ${PROJECT_BINARY_DIR}/generated ${PROJECT_SOURCE_DIR}/res)
target_link_libraries(lorvane PRIVATE lvn_win)
target_link_options(lorvane PRIVATE ${LVN_STATIC_LINK})

# The help page goes beside the program, so that its Help command finds it there.
file(GLOB LVN_HELP_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*)
set(LVN_HELP_COPIES "")
foreach(help_file ${LVN_HELP_FILES})
  get_filename_component(help_name ${help_file} NAME)
  set(help_copy ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help/${help_name})
  add_custom_command(OUTPUT ${help_copy} COMMAND ${CMAKE_COMMAND} -E copy ${help_file} ${help_copy}
                     DEPENDS ${help_file})
  list(APPEND LVN_HELP_COPIES ${help_copy})
endforeach()
add_custom_target(lorvane_help ALL DEPENDS ${LVN_HELP_COPIES})
add_dependencies(lorvane lorvane_help)

# Size of the shipped program: built for size, with the functions and data that nothing
# reaches dropped at link time. Every Windows build does it, so the tests run what ships.
set(LVN_SIZE_OPTIONS -Os -ffunction-sections -fdata-sections)
target_compile_options(lvn_win PRIVATE ${LVN_SIZE_OPTIONS})
target_compile_options(lorvane PRIVATE ${LVN_SIZE_OPTIONS})
target_link_options(lorvane PRIVATE -Wl,--gc-sections)
# std::terminate's default handler writes the exception's demangled type to stderr, which
# a GUI program has not, and then aborts; abort alone spares the demangler it brings (45 KB).
target_link_options(lorvane PRIVATE
                    -Wl,--defsym=_ZN9__gnu_cxx27__verbose_terminate_handlerEv=abort)

# The tests need GoogleTest's sources (Debian's googletest package); without them only the
# program is built.
set(LVN_GTEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest sources to cross-compile")
if(NOT EXISTS ${LVN_GTEST_SOURCES}/CMakeLists.txt)
  message(STATUS "No GoogleTest sources at ${LVN_GTEST_SOURCES}: building lorvane.exe only")
  return()
endif()

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${LVN_GTEST_SOURCES} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB LVN_WIN32_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win32/*.cpp)
add_executable(win32_tests ${LVN_WIN32_TESTS})
lvn_target_options(win32_tests)
target_include_directories(win32_tests PRIVATE ${PROJECT_BINARY_DIR}/generated)
target_link_libraries(win32_tests PRIVATE lvn_win gtest_main version oleacc)
target_link_options(win32_tests PRIVATE ${LVN_STATIC_LINK})

file(GLOB LVN_E2E_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/*.cpp)
add_executable(e2e_tests ${LVN_E2E_TESTS})
lvn_target_options(e2e_tests)
target_include_directories(e2e_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests/e2e
                           ${PROJECT_BINARY_DIR}/generated)
target_compile_definitions(e2e_tests PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 UNICODE _UNICODE)
# The program's library for its English texts, which the English run expects to see.
target_link_libraries(e2e_tests PRIVATE lvn_win gtest_main oleacc oleaut32 ole32 shell32 user32
                      kernel32)
target_link_options(e2e_tests PRIVATE ${LVN_STATIC_LINK})
add_dependencies(e2e_tests lorvane)

# Small Windows programs the tests and benchmarks run beside the program:
# tests/tools/NAME_win.cpp and bench/NAME_bench_win.cpp become NAME.exe and
# NAME_bench.exe in the same folder.
file(GLOB LVN_WIN_TOOLS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/tools/*_win.cpp
     ${PROJECT_SOURCE_DIR}/bench/*_bench_win.cpp)
foreach(tool_source ${LVN_WIN_TOOLS})
  get_filename_component(tool_name ${tool_source} NAME_WE)
  string(REGEX REPLACE "_win$" "" tool_name ${tool_name})
  add_executable(${tool_name} ${tool_source})
  lvn_target_options(${tool_name})
  target_link_libraries(${tool_name} PRIVATE lvn_win ws2_32 psapi)
  target_link_options(${tool_name} PRIVATE ${LVN_STATIC_LINK})
  add_dependencies(win32_tests ${tool_name})
endforeach()
# The shell starts it in place of a browser: a windowed program, no console of its own.
set_target_properties(open_recorder PROPERTIES WIN32_EXECUTABLE TRUE)

# A DLL for the tests to plant beside a copy of the program under system DLLs' names.
add_library(planted SHARED ${PROJECT_SOURCE_DIR}/tests/tools/planted_dll.cpp)
lvn_target_options(planted)
set_target_properties(planted PROPERTIES PREFIX "")
target_link_options(planted PRIVATE ${LVN_STATIC_LINK})
add_dependencies(e2e_tests planted)

# Hooked into the program by the end-to-end tests, to read from inside what it shows.
add_library(text_probe SHARED ${PROJECT_SOURCE_DIR}/tests/tools/text_probe_dll.cpp)
lvn_target_options(text_probe)
target_compile_definitions(text_probe PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
set_target_properties(text_probe PROPERTIES PREFIX "")
target_link_libraries(text_probe PRIVATE gdi32 user32)
target_link_options(text_probe PRIVATE ${LVN_STATIC_LINK})
add_dependencies(e2e_tests text_probe)

# The window benchmark drives lorvane.exe from outside, as the end-to-end tests do.
target_sources(window_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/e2e/harness_win.cpp)
target_include_directories(window_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests/e2e)
add_dependencies(window_bench lorvane)
