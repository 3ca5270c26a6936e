# cmake -DANALYSED=<regex> -P run_analysis.cmake -- <analyser> <arguments...>
# Runs the analyser and fails when it reports anything (a non-zero exit)
# or when its output shows no file matching ANALYSED was looked at: a
# filter that matches nothing would otherwise pass silently.
set(command)
set(in_command FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(in_command)
    list(APPEND command "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(in_command TRUE)
  endif()
endforeach()

execute_process(COMMAND ${command} OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result)
message("${output}")

string(REGEX MATCHALL "${ANALYSED}" analysed "${output}")
list(LENGTH analysed files)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the analyser reported findings (exit ${result})")
endif()
if(files EQUAL 0)
  message(FATAL_ERROR "the analyser looked at no file matching ${ANALYSED}")
endif()
message("analysed ${files} files")
