# vantu_test_binary(<name> <source-dir> LIBS <libs...>)
# One test executable per folder of tests, built from every *.cpp in it.
function(vantu_test_binary name dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  # Tests never touch the user's real settings: each run gets its own HOME.
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "HOME=${CMAKE_BINARY_DIR}/test-home;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-home/.config;XDG_DATA_HOME=${CMAKE_BINARY_DIR}/test-home/.local/share;QT_QPA_PLATFORM=offscreen"
    TIMEOUT 300)
endfunction()
