# Windows tests, run under Wine through the emulator (cmake/mingw-w64-x86_64.cmake), in
# the fixtures of scripts/ctest_wine.sh: a private X server, a fresh Wine prefix that
# trusts the test CA, and the lookup servers. The fixtures' state (the display, the
# servers' pids) lives in files of this build folder, since each step is a CTest test of
# its own; a cleanup runs even when a test fails or times out.
if(NOT TARGET win32_tests)
  return()
endif()

set(LVN_CTEST_WINE ${PROJECT_SOURCE_DIR}/scripts/ctest_wine.sh)
set(LVN_WINE_WRAPPERS ${CMAKE_BINARY_DIR}/wine-wrappers)
# lvn_wine_environment(TEST): for a test that may start Wine, the fixtures' folders, and
# Debian's Wine wrappers shadowed by stand-ins whose calls fail, as they would where the
# 32-bit loader they choose cannot run.
function(lvn_wine_environment test)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT LVN_BUILD=${CMAKE_BINARY_DIR}
               LVN_SERVERS=${CMAKE_BINARY_DIR}/servers)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT_MODIFICATION
               PATH=path_list_prepend:${LVN_WINE_WRAPPERS}/bin)
endfunction()

# lvn_wine_fixture(NAME TITLE ACTION): a fixture's step, ACTION of scripts/ctest_wine.sh.
function(lvn_wine_fixture name title action)
  add_test(NAME ${name} COMMAND ${LVN_CTEST_WINE} ${action})
  set_tests_properties(${name} PROPERTIES LABELS fixture TIMEOUT 120)
  lvn_wine_environment(${name})
  lvn_suite(${name} "${title}" fixture)
endfunction()

lvn_wine_fixture(setup.wine_wrappers "the stand-ins for Wine's wrappers" wrappers-make)
lvn_wine_fixture(setup.xvfb "starting the X server (Xvfb)" xvfb-start)
lvn_wine_fixture(cleanup.xvfb "stopping the X server" xvfb-stop)
lvn_wine_fixture(setup.prefix "making the Wine prefix" prefix-init)
lvn_wine_fixture(cleanup.prefix "stopping the Wine prefix's processes" prefix-stop)
lvn_wine_fixture(setup.servers "starting the lookup servers" servers-start)
lvn_wine_fixture(cleanup.servers "stopping the lookup servers" servers-stop)
lvn_wine_fixture(setup.test_ca "trusting the test CA in the Wine prefix" trust-ca)
set_tests_properties(setup.wine_wrappers PROPERTIES FIXTURES_SETUP wine_wrappers)
set_tests_properties(setup.xvfb PROPERTIES FIXTURES_SETUP xvfb)
set_tests_properties(cleanup.xvfb PROPERTIES FIXTURES_CLEANUP xvfb)
set_tests_properties(setup.prefix PROPERTIES FIXTURES_SETUP prefix FIXTURES_REQUIRED "wine_wrappers;xvfb"
                     RESOURCE_LOCK wine_prefix)
set_tests_properties(cleanup.prefix PROPERTIES FIXTURES_CLEANUP prefix
                     FIXTURES_REQUIRED "wine_wrappers;xvfb" RESOURCE_LOCK wine_prefix)
# Port 80 of three loopback addresses, whoever else may want it.
set_tests_properties(setup.servers PROPERTIES FIXTURES_SETUP servers RESOURCE_LOCK port_80)
set_tests_properties(cleanup.servers PROPERTIES FIXTURES_CLEANUP servers RESOURCE_LOCK port_80)
set_tests_properties(setup.test_ca PROPERTIES FIXTURES_SETUP test_ca
                     FIXTURES_REQUIRED "wine_wrappers;xvfb;prefix;servers" RESOURCE_LOCK wine_prefix)

# Without Wine.
add_test(NAME pe32plus COMMAND sh -c "exec \"$0\" \"$1\"/*.exe" ${PROJECT_SOURCE_DIR}/tests/tools/pe_machine.py
         ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
set_tests_properties(pe32plus PROPERTIES LABELS "checks;pe32plus" TIMEOUT 60)
lvn_suite(pe32plus "every Windows program built is 64-bit (PE32+)" test)
# Text in the system's code page would read wrong on a Windows of another language.
add_test(NAME imports
         COMMAND sh -c "exec python3 \"$0\" \"$1\" \"$2\" \"$3\"/*.obj" ${PROJECT_SOURCE_DIR}/scripts/check_imports.py
                 $<TARGET_FILE:lorvane> $<TARGET_FILE:lvn_win> ${CMAKE_BINARY_DIR}/CMakeFiles/lorvane.dir/src/app)
set_tests_properties(imports PROPERTIES LABELS "checks;imports" TIMEOUT 60)
lvn_suite(imports "lorvane.exe imports no ANSI text function" test)

# The GoogleTest programs, one CTest test per run of a whole program: under Wine each
# start costs seconds, too many for a run per case.
set_property(TARGET win32_tests e2e_tests PROPERTY CROSSCOMPILING_EMULATOR
             ${LVN_CTEST_WINE} run ${CMAKE_CROSSCOMPILING_EMULATOR})

# lvn_wine_gtest(NAME TITLE TARGET TIMEOUT LABELS ENVIRONMENT ARGS...)
function(lvn_wine_gtest name title target timeout labels environment)
  add_test(NAME ${name} COMMAND ${target} --gtest_color=no
                                --gtest_output=xml:${LVN_RESULTS}/${name}.xml ${ARGN})
  set_tests_properties(${name} PROPERTIES LABELS "${labels}" TIMEOUT ${timeout}
                       FIXTURES_REQUIRED "wine_wrappers;xvfb;prefix;servers;test_ca"
                       RESOURCE_LOCK "wine_prefix;port_80")
  lvn_wine_environment(${name})
  if(environment)
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT ${environment})
  endif()
  lvn_suite(${name} "${title}" gtest ${LVN_RESULTS}/${name}.xml)
endfunction()

lvn_wine_gtest(win32 win32 win32_tests 900 win32 "")
# Wine's loader is told to look beside a program first for the DLLs a planted copy could
# replace, as Windows does. The English interface's tests run below.
lvn_wine_gtest(e2e e2e e2e_tests 1200 e2e LVN_PLANTED_FIRST=1 --gtest_filter=-English.*)
# The windows again at 150 % and 200 % display scale: one program start each.
foreach(dpi 144 192)
  lvn_wine_gtest(e2e.dpi${dpi} "e2e at ${dpi} DPI" e2e_tests 300 "e2e;dpi" LVN_TEST_DPI=${dpi}
                 --gtest_filter=DisplayScale.*)
endforeach()
# An English Windows: code page 1252, an English user interface language.
lvn_wine_gtest(e2e.english "e2e in English" e2e_tests 300 "e2e;english" LVN_LOCALE=en_US.UTF-8
               --gtest_filter=English.*)

# The release as a user gets it, in a Wine prefix and on an X server of its own. It builds
# the release, so it runs alone.
add_test(NAME release COMMAND tests/release/release_test.sh WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
set_tests_properties(release PROPERTIES LABELS release TIMEOUT 900 RUN_SERIAL ON
                     FIXTURES_REQUIRED wine_wrappers)
lvn_wine_environment(release)
set_property(TEST release APPEND PROPERTY ENVIRONMENT LVN_CHECKS_FILE=${LVN_RESULTS}/release.txt)
lvn_suite(release release checks ${LVN_RESULTS}/release.txt)

# After every test that may have started Wine: none of them called a wrapper.
add_test(NAME wine64_only COMMAND ${LVN_CTEST_WINE} wrappers-check)
set_tests_properties(wine64_only PROPERTIES LABELS "checks;wine64" TIMEOUT 60
                     FIXTURES_CLEANUP wine_wrappers)
lvn_wine_environment(wine64_only)
lvn_suite(wine64_only "Wine ran only through its 64-bit loader" test)
