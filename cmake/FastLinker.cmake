# The test executables are large (debug information, and sanitizers in the
# Debug build): GNU ld spends minutes of a clean build linking them. mold,
# or else lld, links the same objects in a fraction of that time. Neither
# is required; without them the compiler's default linker is used.
option(VANTU_FAST_LINKER "Link with mold or lld when the compiler can" ON)
if(VANTU_FAST_LINKER)
  include(CheckLinkerFlag)
  foreach(linker mold lld)
    check_linker_flag(CXX "-fuse-ld=${linker}" VANTU_HAS_LINKER_${linker})
    if(VANTU_HAS_LINKER_${linker})
      add_link_options(-fuse-ld=${linker})
      message(STATUS "Linking with ${linker}")
      break()
    endif()
  endforeach()
endif()
