# libFuzzer targets over the core's parsers. Configure with CC=clang CXX=clang++.
set(LVN_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -g -O1)

file(GLOB LVN_FUZZERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(fuzz_source ${LVN_FUZZERS})
  get_filename_component(fuzz_name ${fuzz_source} NAME_WE)
  add_executable(${fuzz_name} ${fuzz_source} ${LVN_CORE_SOURCES} ${LVN_NATIVE_SOURCES})
  lvn_target_options(${fuzz_name})
  target_compile_options(${fuzz_name} PRIVATE ${LVN_FUZZ_FLAGS})
  target_link_options(${fuzz_name} PRIVATE ${LVN_FUZZ_FLAGS})
endforeach()
