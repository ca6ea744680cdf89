# Builds the fuzz targets with clang and runs each for its share of a bounded time, starting from
# the seed corpus checked in beside them (copied, so that it does not grow from run to run). Any
# crash, sanitizer report, broken promise or leak fails the test. Arguments: SOURCE_DIR,
# BINARY_DIR, SECONDS (for all targets together).
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/standalone -B ${BINARY_DIR}
          -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
  RESULT_VARIABLE configured OUTPUT_QUIET)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the fuzz build failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} -j2 RESULT_VARIABLE built OUTPUT_QUIET)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the fuzz targets failed")
endif()

# target, longest input
set(targets image 2048 csv 8192 ini 4096 set 1024 dialog 256 transfer 4096)
list(LENGTH targets entries)
math(EXPR count "${entries} / 2")
math(EXPR share "${SECONDS} / ${count}")
math(EXPR last "${entries} - 1")
foreach(i RANGE 0 ${last} 2)
  list(GET targets ${i} target)
  math(EXPR j "${i} + 1")
  list(GET targets ${j} max_len)
  set(work ${BINARY_DIR}/run/${target})
  file(REMOVE_RECURSE ${work})
  file(MAKE_DIRECTORY ${work})
  set(seeds ${SOURCE_DIR}/corpus/${target})
  message(STATUS "fuzzing ${target} for ${share} s")
  execute_process(
    COMMAND ${BINARY_DIR}/${target}_fuzzer -max_total_time=${share} -max_len=${max_len}
            -len_control=0 -timeout=10 -print_final_stats=1 ${work} ${seeds}
    WORKING_DIRECTORY ${BINARY_DIR}
    RESULT_VARIABLE ran)
  if(NOT ran EQUAL 0)
    message(FATAL_ERROR "the ${target} fuzz target found a fault (see the output above)")
  endif()
endforeach()
