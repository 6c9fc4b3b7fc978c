# Fails when a file includes a header from a layer above its own or from a
# folder beside it, or when a core file includes Qt. Run by ctest as
#   cmake -DROOT=<source dir> -P check_layers.cmake
# Layers, lowest first: model, source (and gps on it), view, then gis (the
# GIS formats, which give view/geometry's areas), then editing, annotations
# and statistics, then print, then the programs app and cli.
# A folder's qt/ subfolder holds its windows: only there, in view itself and
# in the programs may Qt be included. A file belongs to the deepest folder
# listed here that holds it; a header belongs to the deepest folder its path
# starts with. The Qt-free part of app/ is a layer of its own, app/core.
cmake_minimum_required(VERSION 3.25)

set(core model source gps view/geometry gis editing annotations statistics print)
set(allowed_model model)
set(allowed_source model source)
set(allowed_gps model source gps)
set(allowed_view/geometry model source view/geometry)
set(allowed_view model source view/geometry view Qt)
set(allowed_gis model source view/geometry gis)
set(allowed_editing model source view/geometry gis editing)
foreach(folder annotations statistics)
  set(allowed_${folder} model source view/geometry ${folder})
endforeach()
foreach(folder editing annotations statistics)
  set(allowed_${folder}/qt ${allowed_${folder}} view ${folder}/qt Qt)
endforeach()
set(allowed_print model source view/geometry annotations print)
set(allowed_print/qt model source view/geometry view annotations annotations/qt print print/qt Qt)
set(allowed_gps/qt model source gps gps/qt Qt)
set(everything model source gps gps/qt view/geometry view gis editing editing/qt annotations
    annotations/qt statistics statistics/qt print print/qt Qt)
# app/core: the files of app/ without Qt (the library wayloom_app_core): the
# settings file, the program's paths, the save dialog's file-name rules, the
# window placement arithmetic and the splash picture's decoder. They stand on
# the core alone, so that they can be tested and fuzzed without a window.
set(app_core_files ini_file program_paths save_dialog splash_picture window_placement)
set(allowed_app/core ${core} app/core)
set(allowed_app ${everything} app app/core)
set(allowed_cli ${everything} cli)
# The handset simulator answers as a handset would, never with the program's link code.
set(allowed_tools model source tools Qt)

set(folders model source gps gps/qt view view/geometry gis editing editing/qt annotations
    annotations/qt statistics statistics/qt print print/qt app cli tools)

# The deepest of `folders` that `path` lies in, or "".
function(owner_of path result)
  set(owner "")
  foreach(candidate IN LISTS folders)
    string(FIND "${path}" "${candidate}/" at)
    string(LENGTH "${candidate}" length)
    string(LENGTH "${owner}" owner_length)
    if(at EQUAL 0 AND length GREATER owner_length)
      set(owner "${candidate}")
    endif()
  endforeach()
  set(${result} "${owner}" PARENT_SCOPE)
endfunction()

# The layer of a file or header: its folder's, but app/core for the listed
# files of app/.
function(layer_of path result)
  owner_of("${path}" owner)
  get_filename_component(stem "${path}" NAME_WE)
  if(owner STREQUAL "app" AND stem IN_LIST app_core_files)
    set(owner app/core)
  endif()
  set(${result} "${owner}" PARENT_SCOPE)
endfunction()

foreach(stem IN LISTS app_core_files)
  if(NOT EXISTS "${ROOT}/app/${stem}.h")
    message(FATAL_ERROR "app/${stem}.h is listed as part of app/core but does not exist")
  endif()
endforeach()

set(faults "")
set(checked 0)
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE files "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h")
  foreach(file IN LISTS files)
    file(RELATIVE_PATH relative "${ROOT}" "${file}")
    owner_of("${relative}" owner)
    if(NOT owner STREQUAL folder)
      continue()  # checked with the deeper folder
    endif()
    layer_of("${relative}" own_layer)
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*" "\\1" header "${line}")
      if(header MATCHES "^Q[A-Za-z]*$" OR header MATCHES "^Qt[A-Za-z]*/")
        set(layer Qt)
      else()
        layer_of("${header}" layer)
      endif()
      if(layer STREQUAL "")
        continue()  # the standard library, a system package, or a header beside the file
      endif()
      if(NOT layer IN_LIST allowed_${own_layer})
        string(APPEND faults "\n  ${relative}: ${line} (${own_layer} may not include from ${layer})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no source file found under ${ROOT}")
endif()
if(NOT faults STREQUAL "")
  message(FATAL_ERROR "Includes that cross the layers:${faults}")
endif()
message(STATUS "${checked} files keep to their layers")
