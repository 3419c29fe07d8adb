# The tests of this build as CTest tests (CMakePresets.json runs them: ctest --preset NAME).
enable_testing()

# Where the tests' own result files go: GoogleTest's XML files, the release's checks.
set(LVN_RESULTS ${CMAKE_BINARY_DIR}/results)
file(MAKE_DIRECTORY ${LVN_RESULTS})

# The test command (scripts/test.sh, through scripts/test_report.py) prints one line per
# suite; this file says what each CTest test counts there and under which title, in the
# order the lines are printed. One line a test (or NAME* for every test whose name starts
# with NAME), tab-separated: NAME, TITLE, COUNTS, RESULTS, where COUNTS is
#   gtest    the cases of the GoogleTest XML file RESULTS ({test}: the CTest test's name)
#   checks   the PASS and FAIL lines of the file RESULTS
#   test     the CTest test itself, as one
#   fixture  nothing, unless it fails
set(LVN_SUITES_FILE ${CMAKE_BINARY_DIR}/test_suites.tsv)
file(WRITE ${LVN_SUITES_FILE} "")
function(lvn_suite name title counts)
  file(APPEND ${LVN_SUITES_FILE} "${name}\t${title}\t${counts}\t${ARGN}\n")
endfunction()

if(LVN_FUZZ)
  include(${CMAKE_CURRENT_LIST_DIR}/fuzz_tests.cmake)
elseif(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/windows_tests.cmake)
else()
  include(${CMAKE_CURRENT_LIST_DIR}/native_tests.cmake)
endif()
