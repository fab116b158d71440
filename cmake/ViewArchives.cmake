include_guard(GLOBAL)

# The reader of view-layout sources, shared by the builder and its tests,
# and the builder itself; like the resource embedder, the builder runs on
# the build machine and stays out of bin/.
if(NOT TARGET vantu_view_archive_source)
  add_library(vantu_view_archive_source STATIC
    ${PROJECT_SOURCE_DIR}/tools/viewarchive/ViewArchiveSource.cpp)
  target_include_directories(vantu_view_archive_source
    PUBLIC ${PROJECT_SOURCE_DIR}/tools/viewarchive)
  target_link_libraries(vantu_view_archive_source PUBLIC vantu_platform_core)

  add_executable(vantu_build_view_archive_tool
    ${PROJECT_SOURCE_DIR}/tools/build_view_archive.cpp)
  target_link_libraries(vantu_build_view_archive_tool PRIVATE vantu_view_archive_source)
  set_target_properties(vantu_build_view_archive_tool PROPERTIES
    OUTPUT_NAME build_view_archive
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endif()

# vantu_view_archives(<target> <variable> <first-id> <source>...)
# Builds each view-layout source <Name>.view into a flattened view archive,
# made by the custom target <target>, and sets the cache variable <variable> to
# the vantu_embed_resources() arguments that compile them in as resources
# 'ARCV' <id> "<Name>Rsrc", ids counting up from <first-id> in the order
# given. An executable passes <variable> on to its one
# vantu_embed_resources() call and depends on <target>.
#
# A source holds one view per line, "#" comments and blank lines:
#   <Class> <name or -> <left>,<top>,<right>,<bottom> [<attribute>=<value> ...] [{]
# a line ending in "{" opens the view's children, a line "}" closes them;
# one root view. The classes, attributes and defaults are listed at the top
# of tools/build_view_archive.cpp. A bad source fails the build with its
# file and line.
function(vantu_view_archives target variable first_id)
  set(resources "")
  set(archives "")
  set(id ${first_id})
  foreach(source ${ARGN})
    get_filename_component(source "${source}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    get_filename_component(name "${source}" NAME_WE)
    set(archive ${CMAKE_CURRENT_BINARY_DIR}/views/${name}.arcv)
    add_custom_command(
      OUTPUT ${archive}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/views
      COMMAND vantu_build_view_archive_tool ${source} ${archive}
      DEPENDS vantu_build_view_archive_tool ${source}
      COMMENT "Building the view archive ${name}"
      VERBATIM)
    list(APPEND resources ARCV ${id} ${name}Rsrc ${archive})
    list(APPEND archives ${archive})
    math(EXPR id "${id} + 1")
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${archives})
  set(${variable} ${resources} CACHE INTERNAL
    "vantu_embed_resources() arguments of the view archives of ${target}")
endfunction()
