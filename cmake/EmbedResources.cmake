include_guard(GLOBAL)

# The generator runs on the build machine; it stays out of bin/, which
# mirrors the installed program.
if(NOT TARGET vantu_embed_resources_tool)
  add_executable(vantu_embed_resources_tool ${PROJECT_SOURCE_DIR}/tools/embed_resources.cpp)
  set_target_properties(vantu_embed_resources_tool PROPERTIES
    OUTPUT_NAME embed_resources
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endif()

# vantu_embed_resources(<target> <type> <id> <name> <file> [<type> <id> <name> <file> ...])
# Compiles the files into <target> as its resources, read through
# BResources (executable_resources()). <type> is a four-character code
# (CSTR, RAWT …), <name> may be "" for a resource known by id only, a
# relative <file> is taken from the current source folder. Call once per
# target.
function(vantu_embed_resources target)
  list(LENGTH ARGN count)
  math(EXPR remainder "${count} % 4")
  if(count EQUAL 0 OR NOT remainder EQUAL 0)
    message(FATAL_ERROR "vantu_embed_resources(${target}): expected groups of <type> <id> <name> <file>")
  endif()
  set(manifest "")
  set(files "")
  math(EXPR last "${count} - 1")
  foreach(index RANGE 0 ${last} 4)
    math(EXPR i1 "${index} + 1")
    math(EXPR i2 "${index} + 2")
    math(EXPR i3 "${index} + 3")
    list(GET ARGN ${index} type)
    list(GET ARGN ${i1} id)
    list(GET ARGN ${i2} name)
    list(GET ARGN ${i3} file)
    string(LENGTH "${type}" typeLength)
    if(NOT typeLength EQUAL 4 OR NOT id MATCHES "^-?[0-9]+$" OR name MATCHES "[\t\n]")
      message(FATAL_ERROR "vantu_embed_resources(${target}): bad resource '${type}' '${id}' '${name}'")
    endif()
    get_filename_component(file "${file}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    string(APPEND manifest "${type}\t${id}\t${name}\t${file}\n")
    list(APPEND files "${file}")
  endforeach()

  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.list)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  file(GENERATE OUTPUT ${list_file} CONTENT "${manifest}")
  add_custom_command(
    OUTPUT ${source}
    COMMAND vantu_embed_resources_tool ${list_file} ${source}
    DEPENDS vantu_embed_resources_tool ${list_file} ${files}
    COMMENT "Embedding resources into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source})
endfunction()
