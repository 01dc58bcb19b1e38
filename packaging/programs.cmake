# kelvane_install_program(TARGET "what it does"): installs a program into bin/ with a manual page
# made from its --help and --version by help2man. Every installed program is one such line beside
# its add_executable.
find_program(KELVANE_HELP2MAN help2man)
if(NOT KELVANE_HELP2MAN AND NOT KELVANE_SANITIZE)
  message(WARNING "help2man not found (Debian: help2man): the programs are installed without manual pages")
endif()

function(kelvane_install_program target summary)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Sanitizer builds are for the tests; they install nothing and make no manuals.
  if(NOT KELVANE_HELP2MAN OR KELVANE_SANITIZE)
    return()
  endif()
  set(page ${CMAKE_BINARY_DIR}/manuals/${target}.1)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/manuals
    COMMAND ${KELVANE_HELP2MAN} --no-info --section=1 --source=Kelvane
            --name=${summary} --output=${page} $<TARGET_FILE:${target}>
    DEPENDS ${target}
    COMMENT "Writing the manual page of ${target}"
    VERBATIM)
  add_custom_target(${target}-manual ALL DEPENDS ${page})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
