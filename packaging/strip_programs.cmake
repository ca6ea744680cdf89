# Run by cpack on the staged files before it packs them: strips the programs as Debian's dh_strip
# does, dropping the debugging symbols and the .comment and .note sections.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/bin/*")
if(NOT programs)
  message(FATAL_ERROR "no programs to strip in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(program IN LISTS programs)
  file(READ ${program} magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND ${CPACK_TIRNA_STRIP} --remove-section=.comment --remove-section=.note
                            ${program}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
