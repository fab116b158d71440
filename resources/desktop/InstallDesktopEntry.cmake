# Run by cmake --install: writes the desktop entry with the command's full
# path under the prefix being installed to, then installs it.
# In: VANTU_ENTRY_SOURCE, VANTU_ENTRY, VANTU_BINDIR, VANTU_DATADIR.

cmake_path(ABSOLUTE_PATH VANTU_BINDIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
  NORMALIZE OUTPUT_VARIABLE bin)
set(command "${bin}/vantumidi")

# The entry's values escape a backslash as two; a quoted argument of Exec
# escapes " ` $ and \ with a backslash first, and a literal % is doubled.
string(REPLACE "\\" "\\\\" exec "${command}")
foreach(special "\"" "`" "$")
  string(REPLACE "${special}" "\\${special}" exec "${exec}")
endforeach()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(VANTU_EXEC "\"${exec}\"")
string(REPLACE "\\" "\\\\" VANTU_TRY_EXEC "${command}")

configure_file("${VANTU_ENTRY_SOURCE}" "${VANTU_ENTRY}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${VANTU_DATADIR}/applications"
  TYPE FILE FILES "${VANTU_ENTRY}")
