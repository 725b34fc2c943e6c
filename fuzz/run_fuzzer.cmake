# Runs one fuzz target over its committed corpus and on for SECONDS more.
# New inputs go to WORK/new, never into the committed corpus; a crashing
# input is kept as WORK/crash-* for the report. Usage (from ctest or scripts/fuzz):
#   cmake -DFUZZER=... -DCORPUS=... -DWORK=... -DSECONDS=... -DMAX_LEN=... -P run_fuzzer.cmake
foreach(v FUZZER CORPUS WORK SECONDS MAX_LEN)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "run_fuzzer.cmake: ${v} is not set")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK}/new)
file(MAKE_DIRECTORY ${WORK}/new)
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -max_len=${MAX_LEN} -rss_limit_mb=2048 -timeout=20
          -print_final_stats=1 -artifact_prefix=${WORK}/ ${WORK}/new ${CORPUS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input is kept in ${WORK}")
endif()
