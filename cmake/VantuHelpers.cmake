# vantu_test_binary(<name> <source-dir> LIBS <libs...>)
# One test executable per folder of tests, built from every *.cpp in it.
function(vantu_test_binary name dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} vantu_test_home GTest::gtest
    GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  # Each binary makes its own HOME (vantu_test_home); windows go offscreen.
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    TIMEOUT 300)
endfunction()

# Sources that use Qt Widgets spend most of their compile parsing Qt's
# headers, seconds each in every build kind: the targets made of them
# precompile those headers (and any given after the target) once.
# Off by default under ccache, which caches no source compiled with a
# precompiled header unless told to be sloppy about it.
if(CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
  set(vantu_qt_pch_default OFF)
else()
  set(vantu_qt_pch_default ON)
endif()
option(VANTU_QT_PCH "Precompile Qt's headers in the targets that use Qt Widgets"
  ${vantu_qt_pch_default})

# vantu_precompile_qt(<target> [<header>...])
function(vantu_precompile_qt target)
  if(NOT VANTU_QT_PCH)
    return()
  endif()
  set(headers)
  foreach(header QApplication QWidget QPainter QMenu QKeyEvent QMouseEvent
      QThread QTimer ${ARGN})
    list(APPEND headers "$<$<COMPILE_LANGUAGE:CXX>:<${header}>>")
  endforeach()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()

# vantu_shard_test(<test> <shards>)
# Splits the run of a long test executable into GoogleTest shards, which
# ctest runs side by side like separate tests; its tests spend much of their
# time waiting for windows and threads, so the shards overlap well even on
# two cores. Call it after the test's properties are set: every shard takes
# them over.
function(vantu_shard_test test shards)
  get_test_property(${test} ENVIRONMENT environment)
  get_test_property(${test} TIMEOUT timeout)
  math(EXPR last "${shards} - 1")
  foreach(index RANGE ${last})
    set(name ${test}_shard${index})
    if(index EQUAL 0)
      set(name ${test})
    else()
      add_test(NAME ${name} COMMAND ${test})
    endif()
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "${environment};GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${index}"
      TIMEOUT ${timeout})
  endforeach()
endfunction()
