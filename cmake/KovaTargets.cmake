# Warnings for every target of ours, set per target rather than per directory.
function(kova_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# Registers a GoogleTest program: kova_add_test(NAME SOURCES... LIBRARIES...)
function(kova_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main GTest::gmock)
  kova_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
