# Fails when a source file includes a header of a layer its own layer may not depend on, so a
# lower layer never reaches up (a model including a window, a control including the settings).
#   cmake -DROOT=<source folder> -P scripts/check-layers.cmake
# The libraries link the same way (see the CMakeLists.txt of each folder).
cmake_minimum_required(VERSION 3.25)

# Each layer is a folder (its files, not its subfolders) and the layers right below it; it may
# include what those may include too. A layer names only layers listed before it.
set(layers
  "platform:"
  "resources:"
  "settings: platform"
  "controls/model: platform"
  "controls: controls/model resources"
  "controls/demo: controls"
  "settings/widgets: settings controls"
  "schedule: controls/model resources"
  "search/model: schedule"
  "search: search/model"
  "print/model: schedule"
  "print: print/model controls"
  "sync/model:"
  "sync: sync/model"
  "mainwindow: schedule search settings/widgets print sync"
  "monthview: mainwindow"
  "app: monthview"
  "tools/cp932: platform"
  "tools/holidays: schedule"
)

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source folder> -P check-layers.cmake")
endif()
get_filename_component(ROOT "${ROOT}" ABSOLUTE)

function(layer_var out layer)
  string(MAKE_C_IDENTIFIER "${layer}" id)
  set(${out} "allowed_${id}" PARENT_SCOPE)
endfunction()

set(known "")
foreach(entry IN LISTS layers)
  string(REGEX MATCH "^([^:]+):(.*)$" _ "${entry}")
  set(layer "${CMAKE_MATCH_1}")
  string(STRIP "${CMAKE_MATCH_2}" below)
  separate_arguments(below UNIX_COMMAND "${below}")
  set(allowed "")
  foreach(dep IN LISTS below)
    if(NOT dep IN_LIST known)
      message(FATAL_ERROR "layer table: ${layer} names ${dep}, which is not a layer above it")
    endif()
    layer_var(depvar "${dep}")
    list(APPEND allowed "${dep}" ${${depvar}})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  layer_var(var "${layer}")
  set(${var} "${allowed}")
  list(APPEND known "${layer}")
endforeach()

set(violations 0)
set(checked 0)
foreach(layer IN LISTS known)
  layer_var(var "${layer}")
  file(GLOB sources RELATIVE "${ROOT}" "${ROOT}/${layer}/*.cpp" "${ROOT}/${layer}/*.h")
  list(SORT sources)
  foreach(source IN LISTS sources)
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${ROOT}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
      string(REGEX MATCH "\"([^\"]+)\"" _ "${line}")
      set(included "${CMAKE_MATCH_1}")
      # A name beside the file is found there first, as the compiler does.
      if(EXISTS "${ROOT}/${layer}/${included}")
        file(RELATIVE_PATH included "${ROOT}" "${ROOT}/${layer}/${included}")
      endif()
      get_filename_component(folder "${included}" DIRECTORY)
      if(folder STREQUAL layer OR folder IN_LIST ${var})
        continue()
      endif()
      if(folder IN_LIST known)
        message("${source}: includes ${included} of layer ${folder}, which ${layer} may not depend on")
      else()
        message("${source}: includes ${included}, which is in no layer")
      endif()
      math(EXPR violations "${violations} + 1")
    endforeach()
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "no source file found under ${ROOT}")
endif()
if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) cross the layers")
endif()
message(STATUS "${checked} files keep to their layers")
