# Runs one scenario script (see CMakeLists.txt) as a user meets the
# program: a private copy of the program folder, holding kestro-host,
# regsvr32, SHDOCLC.so, Quillet, the add-ons, KestroHelp.htm when there is
# one and a login.dat built fresh from login.sql, each add-on registered
# by that copy's regsvr32; a fresh KESTRO_HOME; and a fresh work folder
# with the script, its pages and the demo site. Nothing of one run reaches
# another.
#
#   -DHOST -DREGSVR32 -DSHDOCLC -DQUILLET   programs and libraries to copy
#   -DADDONS        add-on libraries, separated by |
#   -DMAKE_LOGIN_DB -DLOGIN_SQL             how login.dat is built
#   -DBIN           the build's program folder (KestroHelp.htm)
#   -DSOURCE -DSCRIPT                       the script, relative to SOURCE
#   -DDEMO_SITE     the demo site, copied to site/ when it exists
#   -DWORK          the work folder; the program folder is WORK/bin
#   -DFAIL_LINE     with a line number, the run must fail there
#   -DENGINE        embedded (the default) or live (off screen)
file(REMOVE_RECURSE ${WORK})
set(program ${WORK}/bin)
file(MAKE_DIRECTORY ${WORK}/home ${program})
get_filename_component(script ${SCRIPT} NAME)
file(COPY ${SOURCE}/${SCRIPT} DESTINATION ${WORK})
if(IS_DIRECTORY ${SOURCE}/pages)
  file(COPY ${SOURCE}/pages DESTINATION ${WORK})
endif()
if(IS_DIRECTORY ${DEMO_SITE})
  file(COPY ${DEMO_SITE}/ DESTINATION ${WORK}/site)
endif()

string(REPLACE "|" ";" addons "${ADDONS}")
foreach(file IN ITEMS ${HOST} ${REGSVR32} ${SHDOCLC} ${QUILLET} ${addons})
  file(COPY ${file} DESTINATION ${program})
endforeach()
if(EXISTS ${BIN}/KestroHelp.htm)
  file(COPY ${BIN}/KestroHelp.htm DESTINATION ${program})
endif()
# Never the build's own login.dat: the user's data is in it once they ran
# the tool.
execute_process(COMMAND ${MAKE_LOGIN_DB} ${LOGIN_SQL} ${program}/login.dat
                RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "login.dat could not be built from ${LOGIN_SQL}: ${built}")
endif()

set(ENV{KESTRO_HOME} ${WORK}/home)
# Files the add-on hands to the editor stay with the run.
file(MAKE_DIRECTORY ${WORK}/tmp)
set(ENV{TMPDIR} ${WORK}/tmp)
unset(ENV{KESTRO_JOURNAL})
unset(ENV{KESTRO_UI_SCRIPT})
if(NOT DEFINED ENV{QT_QPA_PLATFORM})
  set(ENV{QT_QPA_PLATFORM} offscreen)
endif()

foreach(addon IN LISTS addons)
  get_filename_component(name ${addon} NAME)
  execute_process(COMMAND ${program}/regsvr32 /s ${program}/${name} RESULT_VARIABLE registered)
  if(NOT registered EQUAL 0)
    message(FATAL_ERROR "regsvr32 ${program}/${name} failed: ${registered}")
  endif()
endforeach()

if(NOT ENGINE)
  set(ENGINE embedded)
endif()
execute_process(
  COMMAND ${program}/kestro-host --engine ${ENGINE} --script ${WORK}/${script}
          --journal ${WORK}/journal.txt
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
