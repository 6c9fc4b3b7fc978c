# cmake -DBUILD=<build dir> -DPREFIX=<empty prefix> -DFARM=<map> -P check_install.cmake
cmake_minimum_required(VERSION 3.25)

function(fail message)
  message(FATAL_ERROR "${message}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE code OUTPUT_QUIET ERROR_VARIABLE errors)
if(code)
  fail("cmake --install failed: ${errors}")
endif()

# Exactly what the programs use, nothing more.
set(expected
  bin/wayloom bin/wayloom-cli bin/wayloom-cli-drawing
  lib/udev/rules.d/60-wayloom-garmin.rules
  share/applications/org.example.wayloom.desktop
  share/icons/hicolor/scalable/apps/org.example.wayloom.svg
  share/man/man1/wayloom-cli.1 share/man/man1/wayloom.1
  share/metainfo/org.example.wayloom.metainfo.xml
  share/mime/packages/org.example.wayloom.xml
  share/wayloom/kestrow/kestrow.htm share/wayloom/manual.html)
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  fail("installed:\n  ${installed}\nexpected:\n  ${expected}")
endif()

# The installed command works from any folder.
execute_process(COMMAND "${PREFIX}/bin/wayloom-cli" check "${FARM}" WORKING_DIRECTORY /
                OUTPUT_VARIABLE out RESULT_VARIABLE code)
if(code OR NOT out STREQUAL "waypoints 33, classes 5, shapes 5, sets 1\n")
  fail("installed wayloom-cli check gave ${code}: ${out}")
endif()

# Every command wayloom-cli lists has its section in the man page.
execute_process(COMMAND "${PREFIX}/bin/wayloom-cli" --help OUTPUT_VARIABLE help)
file(READ "${PREFIX}/share/man/man1/wayloom-cli.1" manual)
string(REGEX MATCHALL "\n  [a-z]+ " listed "${help}")
foreach(entry IN LISTS listed)
  string(STRIP "${entry}" command)
  string(FIND "${manual}" ".SS ${command}\n" at)
  if(at EQUAL -1)
    fail("wayloom-cli.1 has no section for ${command}")
  endif()
endforeach()

find_program(desktop_file_validate desktop-file-validate)
if(desktop_file_validate)
  execute_process(COMMAND ${desktop_file_validate} "${PREFIX}/share/applications/org.example.wayloom.desktop"
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(code OR NOT out STREQUAL "")
    fail("desktop-file-validate: ${out}")
  endif()
else()
  message(STATUS "desktop-file-validate (Debian desktop-file-utils) is not installed: the desktop entry was not validated")
endif()
find_program(appstreamcli appstreamcli)
if(appstreamcli)
  execute_process(COMMAND ${appstreamcli} validate --no-net "${PREFIX}/share/metainfo/org.example.wayloom.metainfo.xml"
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(code)
    fail("appstreamcli validate: ${out}")
  endif()
else()
  message(STATUS "appstreamcli (Debian appstream) is not installed: the metadata was not validated")
endif()
