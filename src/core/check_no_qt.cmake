# Fails the build when a source of the core library includes a Qt header. The core must stay
# usable without Qt: the windows, the command line and the tests all sit on top of it.
file(GLOB_RECURSE sources "${CORE_DIR}/*.h" "${CORE_DIR}/*.cpp")
foreach(source IN LISTS sources)
  file(STRINGS "${source}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|qt)")
  if(hits)
    message(FATAL_ERROR "${source} includes a Qt header (${hits}); the core library must not use Qt")
  endif()
endforeach()
