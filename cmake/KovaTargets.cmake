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

# Registers a Qt Test program, one test class per file, run on the offscreen platform:
# kova_add_qt_test(NAME SOURCE LIBRARIES...)
function(kova_add_qt_test name source)
  cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} Qt6::Test)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  kova_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
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
