# vantu_loader_addon(<target> <output-name> <output-dir> <sources...>)
# A container loader add-on: a shared library that sees only the loader
# interface headers and the C++ runtime. Nothing but make_container_loader is
# exported, and the link refuses any symbol the add-on would expect from the
# program (which exports none).
function(vantu_loader_addon target output_name output_dir)
  add_library(${target} MODULE ${ARGN})
  target_include_directories(${target} PRIVATE
    ${PROJECT_SOURCE_DIR}/playlist
    ${PROJECT_SOURCE_DIR}/platform/support
    ${PROJECT_SOURCE_DIR}/platform/storage)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${output_name}
    LIBRARY_OUTPUT_DIRECTORY ${output_dir}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  # Clang leaves the sanitizer runtime to the executable, so an instrumented
  # add-on has undefined symbols there by design.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR NOT (VANTU_SANITIZE OR VANTU_FUZZ))
    target_link_options(${target} PRIVATE -Wl,-z,defs)
  endif()
endfunction()
