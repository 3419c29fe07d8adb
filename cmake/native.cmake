# Native Linux build: the core and its unit tests, under ASan and UBSan.
enable_testing()
find_package(GTest REQUIRED)

set(LVN_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(lvn_core STATIC ${LVN_CORE_SOURCES} src/util/lead_byte_cp932.cpp)
lvn_target_options(lvn_core)
target_include_directories(lvn_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(lvn_core PUBLIC ${LVN_SANITIZE})
target_link_options(lvn_core PUBLIC ${LVN_SANITIZE})

file(GLOB LVN_UNIT_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${LVN_UNIT_TESTS})
lvn_target_options(unit_tests)
target_link_libraries(unit_tests PRIVATE lvn_core GTest::gtest_main)

include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)
