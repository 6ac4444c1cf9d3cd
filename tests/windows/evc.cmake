# evc.exe under Wine: the program's command lines for every output type, its
# failures and a stop. The checks need Debian's ffmpeg and ffprobe, so the
# test is a script on the Linux side that runs evc.exe through wine.sh.
if(NOT TARGET evc)
  return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME windows_evc_under_wine
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/evc_under_wine.py $<TARGET_FILE:evc>
    ${PROJECT_SOURCE_DIR}/scripts/windows/wine.sh ${CMAKE_OBJDUMP})
