# Builds the fuzz target with clang and runs it for a bounded time. Any crash, sanitizer report or
# leak fails the test. Arguments: SOURCE_DIR, BINARY_DIR, SECONDS.
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/standalone -B ${BINARY_DIR}
          -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
  RESULT_VARIABLE configured OUTPUT_QUIET)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the fuzz build failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} -j2 RESULT_VARIABLE built OUTPUT_QUIET)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the fuzz target failed")
endif()
file(MAKE_DIRECTORY ${BINARY_DIR}/corpus)
execute_process(
  COMMAND ${BINARY_DIR}/image_fuzzer -max_total_time=${SECONDS} -max_len=2048 -len_control=0 -timeout=10
          -print_final_stats=1 ${BINARY_DIR}/corpus
  WORKING_DIRECTORY ${BINARY_DIR}
  RESULT_VARIABLE ran)
if(NOT ran EQUAL 0)
  message(FATAL_ERROR "the fuzz target found a fault (see the output above)")
endif()
