# kestro-host --screenshot on the demo login page with the add-on Farrow
# registered in a fresh KESTRO_HOME: once with the context menu of the
# name box open, once with its Kestro submenu open too; screenshot_check
# then finds the submenu in the second picture.
#   -DHOST -DREGSVR32 -DADDON -DCHECK -DDEMO_SITE -DWORK
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/home)
set(ENV{KESTRO_HOME} ${WORK}/home)
set(ENV{QT_QPA_PLATFORM} offscreen)
unset(ENV{KESTRO_UI_SCRIPT})
execute_process(COMMAND ${REGSVR32} /s ${ADDON} RESULT_VARIABLE registered)
if(NOT registered EQUAL 0)
  message(FATAL_ERROR "regsvr32 ${ADDON} failed: ${registered}")
endif()
foreach(shot IN ITEMS menu submenu)
  set(path -)
  if(shot STREQUAL "submenu")
    set(path Kestro)
  endif()
  execute_process(
    COMMAND ${HOST} --screenshot ${WORK}/${shot}.png --menu "#user" ${path}
            --map demo.test ${DEMO_SITE} http://demo.test/login.html
    RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "kestro-host --screenshot (${shot}) failed (${status}):\n${errors}")
  endif()
endforeach()
execute_process(COMMAND ${CHECK} ${WORK}/menu.png ${WORK}/submenu.png RESULT_VARIABLE checked)
if(NOT checked EQUAL 0)
  message(FATAL_ERROR "the submenu is not in ${WORK}/submenu.png")
endif()
