# Runs one scenario script (see CMakeLists.txt): a fresh work folder with
# the script and its pages, a fresh KESTRO_HOME, the add-on registered.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/home)
file(COPY ${SOURCE}/pages ${SOURCE}/${SCRIPT} DESTINATION ${WORK})
set(ENV{KESTRO_HOME} ${WORK}/home)
unset(ENV{KESTRO_JOURNAL})
unset(ENV{KESTRO_UI_SCRIPT})

execute_process(COMMAND ${REGSVR32} /s ${ADDON} RESULT_VARIABLE registered)
if(NOT registered EQUAL 0)
  message(FATAL_ERROR "regsvr32 ${ADDON} failed: ${registered}")
endif()

execute_process(
  COMMAND ${HOST} --script ${WORK}/${SCRIPT} --journal ${WORK}/journal.txt
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors)
message("${output}${errors}")

# A sanitizer's report may come with the same exit status as a failed step.
if(errors MATCHES "Sanitizer|runtime error:")
  message(FATAL_ERROR "a sanitizer reported a fault")
endif()
if(FAIL_LINE)
  if(NOT status EQUAL 1)
    message(FATAL_ERROR "expected exit status 1 (a failed step), got ${status}")
  endif()
  if(NOT errors MATCHES "(^|\n)line ${FAIL_LINE}: ")
    message(FATAL_ERROR "the failure report does not name line ${FAIL_LINE}")
  endif()
elseif(NOT status EQUAL 0)
  message(FATAL_ERROR "the scenario failed (exit status ${status})")
endif()
