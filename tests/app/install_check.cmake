# Installs the build into a scratch DESTDIR under /usr and checks what lands there: the game and
# the level tool, the sample data, the desktop entry (valid, when desktop-file-validate is there),
# the icon and the man page; then runs the installed game from / to see it find the installed data.
#   cmake -DBINARY_DIR=<build tree> -DWORK_DIR=<scratch directory> -P install_check.cmake
file(REMOVE_RECURSE ${WORK_DIR})
set(stage ${WORK_DIR}/stage)
set(ENV{DESTDIR} ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix /usr
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(usr ${stage}/usr)
foreach(file
    bin/brontal
    bin/brontal-level
    share/brontal/LEVELS/LEVEL_001.VRM
    share/brontal/SKY/Left.bmp
    share/brontal/SKY/Right.bmp
    share/brontal/SKY/Top.bmp
    share/brontal/SKY/Bottom.bmp
    share/brontal/SKY/Front.bmp
    share/brontal/SKY/Back.bmp
    share/applications/brontal.desktop
    share/metainfo/org.brontal.brontal.metainfo.xml
    share/icons/hicolor/scalable/apps/brontal.svg
    share/man/man6/brontal.6
    share/man/man1/brontal-level.1)
  if(NOT EXISTS ${usr}/${file})
    message(FATAL_ERROR "not installed: /usr/${file}")
  endif()
endforeach()
if(EXISTS ${WORK_DIR}/usr)
  message(FATAL_ERROR "DESTDIR was not respected: files went to ${WORK_DIR}/usr")
endif()

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(DESKTOP_FILE_VALIDATE)
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${usr}/share/applications/brontal.desktop
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0 OR NOT output STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${output}")
  endif()
else()
  message(STATUS "desktop-file-validate is not installed; the desktop entry is not validated")
endif()

find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${usr}/share/metainfo/org.brontal.brontal.metainfo.xml
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${output}")
  endif()
endif()

# The installed game, started in / (no LEVELS there), takes the data beside it.
execute_process(COMMAND env -u DISPLAY -u WAYLAND_DISPLAY "ASAN_OPTIONS=$ENV{ASAN_OPTIONS}:detect_leaks=0"
                        ${usr}/bin/brontal --headless --frames 1
  WORKING_DIRECTORY /
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the installed game failed (${result}):\n${errors}")
endif()
string(FIND "${errors}" "; data: ${usr}/share/brontal\n" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the installed game did not take the installed data:\n${errors}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
