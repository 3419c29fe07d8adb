# Native Linux build: the core and its unit tests, under ASan and UBSan.
find_package(GTest REQUIRED)

# Benchmarks configure with -DLVN_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release.
option(LVN_SANITIZE "Build the core and its tests with ASan and UBSan" ON)
if(LVN_SANITIZE)
  set(LVN_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
else()
  set(LVN_SANITIZE "")
endif()

add_library(lvn_core STATIC ${LVN_CORE_SOURCES} ${LVN_NATIVE_SOURCES})
lvn_target_options(lvn_core)
target_include_directories(lvn_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(lvn_core PUBLIC ${LVN_SANITIZE})
target_link_options(lvn_core PUBLIC ${LVN_SANITIZE})

file(GLOB LVN_UNIT_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${LVN_UNIT_TESTS})
lvn_target_options(unit_tests)
target_link_libraries(unit_tests PRIVATE lvn_core GTest::gtest_main)
# The help page's test reads the page from the source tree.
target_compile_definitions(unit_tests PRIVATE LVN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

# Benchmarks (not tests): bench/NAME_bench.cpp becomes the program NAME_bench.
file(GLOB LVN_NATIVE_BENCHES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*_bench.cpp)
foreach(bench_source ${LVN_NATIVE_BENCHES})
  get_filename_component(bench_name ${bench_source} NAME_WE)
  add_executable(${bench_name} ${bench_source})
  lvn_target_options(${bench_name})
  target_link_libraries(${bench_name} PRIVATE lvn_core)
endforeach()
