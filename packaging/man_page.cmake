# Writes the man page of one of the programs from its own --help, with help2man, so that the page
# and --help never tell different things. For a program with commands (tirna520-cli) every
# command's --help follows as a section of its own.
#
# cmake -DHELP2MAN=... -DPROGRAM=... -DSUMMARY=... -DOUTPUT=... [-DCOMMANDS=ON] [-DEXTRA=file.h2m]
#       -P man_page.cmake
# EXTRA: further sections in help2man's include format.
set(ENV{LC_ALL} C.UTF-8)
set(ENV{QT_QPA_PLATFORM} offscreen)
get_filename_component(name "${PROGRAM}" NAME)
set(include_file "${OUTPUT}.include")
set(text "")
if(EXTRA)
  file(READ "${EXTRA}" text)
endif()

# roff takes text as it is, except a backslash and a leading dot or apostrophe.
function(as_roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

if(COMMANDS)
  execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed")
  endif()
  # The commands are the first words of the lines of the part "Subcommands:".
  string(REGEX MATCH "Subcommands:\n(  [^\n]*\n)+" listing "${help}")
  string(REGEX MATCHALL "\n  [a-z][a-z-]*" commands "${listing}")
  string(APPEND text "[COMMANDS]\n")
  foreach(command IN LISTS commands)
    string(STRIP "${command}" command)
    execute_process(COMMAND "${PROGRAM}" ${command} --help OUTPUT_VARIABLE command_help
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${PROGRAM} ${command} --help failed")
    endif()
    # The exit statuses, which every command repeats, stand once at the top.
    string(REGEX REPLACE "\nExit status:\n.*" "\n" command_help "${command_help}")
    string(REPLACE "${PROGRAM}" "${name}" command_help "${command_help}")
    as_roff("${command_help}" command_help)
    string(APPEND text ".SS ${command}\n.nf\n${command_help}.fi\n")
  endforeach()
endif()
set(include_option)
if(NOT text STREQUAL "")
  file(WRITE "${include_file}" "${text}")
  set(include_option --include=${include_file})
endif()

execute_process(
  COMMAND "${HELP2MAN}" --no-info --no-discard-stderr --locale=C.UTF-8 --name=${SUMMARY}
          ${include_option} --output=${OUTPUT} "${PROGRAM}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed for ${PROGRAM}")
endif()
file(REMOVE "${include_file}")
