# Runs the icon generator into a scratch folder and compares every file it
# writes with the committed one.
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${GENERATOR} ${SCRATCH} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "icongen failed (${rc})")
endif()
foreach(name mirvodict.ico mirvodict-16.png mirvodict-32.png mirvodict-48.png mirvodict-128.png
             shell-folder.ico shell-file.ico shell-drive.ico shell-home.ico)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/${name} ${COMMITTED}/${name} RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    message(FATAL_ERROR "dat/icons/${name} differs from the generator's output; run icongen dat/icons")
  endif()
endforeach()
