# Runs the checker over every .ibs, .pkg, .ebd and .ami file of a directory
# tree, one file per run, each bounded in time. A file may fail its checks
# (exit 1); a crash, a signal, a usage error, a hang or a sanitizer report
# fails the test.
file(GLOB_RECURSE files ${CORPUS}/*.ibs ${CORPUS}/*.pkg ${CORPUS}/*.ebd ${CORPUS}/*.ami)
list(LENGTH files count)
if(count EQUAL 0)
  message(FATAL_ERROR "no files in ${CORPUS}")
endif()
foreach(f ${files})
  execute_process(COMMAND ${IBISLINT} ${f} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err TIMEOUT 30)
  if(NOT (rc STREQUAL "0" OR rc STREQUAL "1"))
    message(FATAL_ERROR "ibislint ${f}: result ${rc}\n${err}")
  endif()
  # A sanitizer finding after the totals (in the final release of the
  # records) keeps the result 1 of a failed file; its report shows here.
  if(err MATCHES "Sanitizer|runtime error")
    message(FATAL_ERROR "ibislint ${f}: sanitizer report\n${err}")
  endif()
  if(NOT out MATCHES "\nFile (Passed|Failed)\n$")
    message(FATAL_ERROR "ibislint ${f}: no totals at the end of the output")
  endif()
  message(STATUS "${rc} ${f}")
endforeach()
message(STATUS "${count} files checked")
