# Native tests: the include check, the core's unit tests (one CTest test per case, so that
# -R picks cases by name), and the native benchmark's build.
add_test(NAME layers COMMAND python3 scripts/check_layers.py
         WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
set_tests_properties(layers PROPERTIES LABELS layers TIMEOUT 60)
lvn_suite(layers "includes follow the layers (scripts/check_layers.py)" test)

include(GoogleTest)
gtest_discover_tests(unit_tests TEST_PREFIX unit. EXTRA_ARGS --gtest_color=no
                     XML_OUTPUT_DIR ${LVN_RESULTS}/unit DISCOVERY_TIMEOUT 60
                     PROPERTIES LABELS unit TIMEOUT 120)
lvn_suite(unit.* unit gtest ${LVN_RESULTS}/unit/{test}.xml)

# Built, not run, so that the benchmark does not rot unseen: in its own configuration
# (Release, no sanitizers). The Windows benchmarks come with the Windows build.
add_test(NAME bench.build COMMAND scripts/bench_history.sh --build-only
         WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
set_tests_properties(bench.build PROPERTIES LABELS "checks;bench" TIMEOUT 900)
lvn_suite(bench.build "the native benchmark builds (scripts/bench_history.sh)" test)
