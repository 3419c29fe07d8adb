# Each fuzz target's kept corpus (tests/fuzz/corpus/NAME) replayed, then a short run from
# it that works in build/fuzz/corpus/NAME. Longer runs: scripts/fuzz.sh.
set(LVN_FUZZ_SECONDS 20 CACHE STRING "Seconds of each fuzz target's run among the tests")
if(DEFINED ENV{LVN_FUZZ_SECONDS})
  set(LVN_FUZZ_SECONDS $ENV{LVN_FUZZ_SECONDS} CACHE STRING "" FORCE)
endif()
math(EXPR fuzz_timeout "${LVN_FUZZ_SECONDS} + 120")

foreach(fuzz_source ${LVN_FUZZERS})
  get_filename_component(fuzz_name ${fuzz_source} NAME_WE)
  set(kept ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${fuzz_name})
  # Listed here, so that a new input reconfigures and is replayed by name.
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${kept}/*)
  list(LENGTH inputs input_count)
  if(input_count EQUAL 0)
    add_test(NAME fuzz.${fuzz_name}.replay COMMAND sh -c "echo 'no kept corpus in $0'; exit 1" ${kept})
  else()
    add_test(NAME fuzz.${fuzz_name}.replay COMMAND ${fuzz_name} -rss_limit_mb=2048 ${inputs})
  endif()
  set_tests_properties(fuzz.${fuzz_name}.replay PROPERTIES LABELS fuzz TIMEOUT 300)
  lvn_suite(fuzz.${fuzz_name}.replay "${fuzz_name} replay (${input_count} inputs)" test)

  set(work ${CMAKE_BINARY_DIR}/corpus/${fuzz_name})
  file(MAKE_DIRECTORY ${work})
  add_test(NAME fuzz.${fuzz_name}
           COMMAND ${fuzz_name} ${work} ${kept} -max_total_time=${LVN_FUZZ_SECONDS}
                   -rss_limit_mb=2048 -artifact_prefix=${CMAKE_BINARY_DIR}/)
  set_tests_properties(fuzz.${fuzz_name} PROPERTIES LABELS fuzz TIMEOUT ${fuzz_timeout})
  lvn_suite(fuzz.${fuzz_name} ${fuzz_name} test)
endforeach()
