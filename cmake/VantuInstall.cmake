include_guard(GLOBAL)

# Installed, the program keeps the layout of the build tree's bin/: the
# executables and everything they load from beside themselves (Language/,
# Loader/, Demo/, the help documents) share one folder, which the program
# finds through the real path of its executable. The commands in bin/ are
# relative symbolic links into it, so the installed tree can be moved whole.
set(VANTU_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/vantumidi)

# vantu_install_command(<command> <file>)
# Installs bin/<command> as a link to <file> in the program's folder.
function(vantu_install_command command file)
  set(link ${CMAKE_BINARY_DIR}/install-commands/${command})
  file(RELATIVE_PATH target /prefix/${CMAKE_INSTALL_BINDIR}
    /prefix/${VANTU_INSTALL_PROGRAM_DIR}/${file})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-commands)
  file(CREATE_LINK ${target} ${link} SYMBOLIC)
  install(FILES ${link} DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()
