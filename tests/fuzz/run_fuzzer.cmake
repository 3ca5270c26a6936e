# cmake -DFUZZER=<program> -DSEEDS=<dir> -DWORK=<dir> -DSECONDS=<n> -P run_fuzzer.cmake
# Fuzzes from a fresh copy of the seeds; fails on any crash, leak,
# sanitizer report or broken invariant.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/corpus" "${WORK}/artifacts")
file(GLOB seeds "${SEEDS}/*")
file(COPY ${seeds} DESTINATION "${WORK}/corpus")

execute_process(
  COMMAND "${FUZZER}"
    -max_total_time=${SECONDS}
    -rss_limit_mb=2048
    -timeout=30
    -print_final_stats=1
    "-artifact_prefix=${WORK}/artifacts/"
    "${WORK}/corpus"
  RESULT_VARIABLE result)

if(NOT result EQUAL 0)
  file(GLOB artifacts "${WORK}/artifacts/*")
  message(FATAL_ERROR "the fuzzer failed (${result}); inputs that show it: ${artifacts}")
endif()
