# Warnings for every target of ours, set per target rather than per directory.
function(kova_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# What every test runs with: the caches the programs make (a device's tags) go to the build tree,
# not to the home folder of whoever runs the tests.
set(KOVA_TEST_ENVIRONMENT "XDG_CACHE_HOME=${CMAKE_BINARY_DIR}/test-cache")

# Registers a GoogleTest program: kova_add_test(NAME SOURCES... LIBRARIES... [RESOURCE_LOCK name])
# CTest runs each of its tests as a process of its own, several at once; tests that share something
# outside their own temporary files (a folder of the build tree) name it as their RESOURCE_LOCK, so
# that they run one at a time.
function(kova_add_test name)
  cmake_parse_arguments(ARG "" "RESOURCE_LOCK" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest_main GTest::gmock)
  kova_warnings(${name})
  set(properties ENVIRONMENT "${KOVA_TEST_ENVIRONMENT}")
  if(ARG_RESOURCE_LOCK)
    list(APPEND properties RESOURCE_LOCK ${ARG_RESOURCE_LOCK})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()

# Registers a Qt Test program, one test class per file, run on the offscreen platform:
# kova_add_qt_test(NAME SOURCE LIBRARIES...)
function(kova_add_qt_test name source)
  cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} Qt6::Test)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  kova_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${KOVA_TEST_ENVIRONMENT}" TIMEOUT 120)
endfunction()

# Adds a program that renders the dialogs of one feature into PNG files (scripts/screenshots runs
# it). Not a test, but built with everything so that it keeps up with the dialogs:
#   kova_add_screenshots(NAME SOURCE LIBRARIES...)
function(kova_add_screenshots name source)
  cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
  kova_warnings(${name})
endfunction()

# Registers a libFuzzer program, built only with KOVAHDD_FUZZ=ON (clang):
#   kova_add_fuzzer(NAME SOURCES... LIBRARIES... [SEEDS folder])
# The program is NAME in the binary folder; SEEDS is a folder of example inputs the fuzzer starts
# from. scripts/fuzz builds every registered fuzzer (target kova_fuzzers) and runs each in turn.
function(kova_add_fuzzer name)
  if(NOT KOVAHDD_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "SEEDS" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  kova_warnings(${name})
  add_dependencies(kova_fuzzers ${name})
  set_property(GLOBAL APPEND PROPERTY KOVA_FUZZER_LINES "${name}\t$<TARGET_FILE:${name}>\t${ARG_SEEDS}")
endfunction()

# Instruments everything built in this tree: AddressSanitizer and UndefinedBehaviorSanitizer for
# KOVAHDD_SANITIZE, and libFuzzer's coverage as well for KOVAHDD_FUZZ. Called before the folders
# are added; such a tree is a build of its own (scripts/test --sanitize, scripts/fuzz).
macro(kova_instrument)
  if(KOVAHDD_SANITIZE OR KOVAHDD_FUZZ)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
  if(KOVAHDD_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
      message(FATAL_ERROR "KOVAHDD_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
    add_custom_target(kova_fuzzers)
  endif()
endmacro()

# Writes the list of registered fuzzers, one a line (name, program, seed folder), for scripts/fuzz.
function(kova_write_fuzzer_list)
  if(NOT KOVAHDD_FUZZ)
    return()
  endif()
  get_property(lines GLOBAL PROPERTY KOVA_FUZZER_LINES)
  list(JOIN lines "\n" content)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzzers.tsv CONTENT "${content}\n")
endfunction()

# Installs a program or a shared library of ours. Each finds our other libraries relative to
# itself ($ORIGIN), so an install works under any prefix without LD_LIBRARY_PATH.
function(kova_install target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    cmake_path(RELATIVE_PATH CMAKE_INSTALL_FULL_LIBDIR BASE_DIRECTORY "${CMAKE_INSTALL_FULL_BINDIR}"
               OUTPUT_VARIABLE libraries)
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${libraries}")
    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  else()
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
    install(TARGETS ${target} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  endif()
endfunction()

# Makes the manual page of a program of ours with help2man from what its --help and --version print,
# adds the sections they lack from help2man include files, and installs it compressed in man1:
#   kova_add_manual(TARGET SUMMARY "what it is, for the NAME line" INCLUDES file.h2m...)
# Every page also gets packaging/common.h2m. The include files have the build's @VARIABLES@ replaced.
# The page is made anew from the program at every build, so it cannot fall behind its help text.
function(kova_add_manual target)
  cmake_parse_arguments(ARG "" "SUMMARY" "INCLUDES" ${ARGN})
  find_program(KOVA_HELP2MAN help2man REQUIRED)
  set(includes "")
  set(include_options "")
  foreach(include IN ITEMS "${PROJECT_SOURCE_DIR}/packaging/common.h2m" ${ARG_INCLUDES})
    get_filename_component(name "${include}" NAME)
    set(configured "${CMAKE_CURRENT_BINARY_DIR}/${target}-${name}")
    configure_file("${include}" "${configured}" @ONLY)
    list(APPEND includes "${configured}")
    list(APPEND include_options --include "${configured}")
  endforeach()
  set(page "${CMAKE_CURRENT_BINARY_DIR}/${target}.1")
  add_custom_command(OUTPUT "${page}.gz"
    COMMAND "${KOVA_HELP2MAN}" --no-info --name "${ARG_SUMMARY}" ${include_options} --output "${page}"
            "$<TARGET_FILE:${target}>"
    COMMAND gzip --best --no-name --force "${page}"
    DEPENDS ${target} ${includes}
    COMMENT "Writing the manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}_manual ALL DEPENDS "${page}.gz")
  install(FILES "${page}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
