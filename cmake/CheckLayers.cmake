# Reads every #include of the sources under CODE and fails when one reaches
# past its library's layer. The include views of Code/CMakeLists.txt only
# stop what the compiler looks up through the include path: a path that
# climbs ("../ui/X.h", "services/../ui/X.h") or a header on the system path
# (Qt, FFmpeg, mpv) compiles anyway, so the sources themselves are read.
#
#   cmake -DMANIFEST=<layers.cmake> -DCODE=<Code folder> -P CheckLayers.cmake
#
# MANIFEST is written by Code/CMakeLists.txt from the library graph: for each
# target LAYER_<t>_FOLDER (the folder it owns, empty for a program),
# LAYER_<t>_FILES (its sources, relative to Code), LAYER_<t>_SEES (the
# targets whose headers it may include, itself first), LAYER_<t>_TOOLKIT and
# LAYER_<t>_HIDDEN_HEADERS (include prefixes only that target may use).
cmake_minimum_required(VERSION 3.25)
include("${MANIFEST}")
get_filename_component(CODE "${CODE}" ABSOLUTE)

# Qt's headers: <QWidget>, <QtWidgets/QWidget>, <QtCore/qglobal.h>, and
# <qt6/QtCore/QString> from the system's own include folder.
set(qtHeader "^Q[A-Za-z0-9_]*(/|$)|^qt[0-9]*/")

# Owner of a file given relative to Code: the target listing it, else the
# target listing the source of the same name beside it (a header goes with
# its .cpp), else the library of its folder that was declared first.
function(owner_of path outVar)
  get_filename_component(dir "${path}" DIRECTORY)
  get_filename_component(stem "${path}" NAME_WE)
  foreach(target IN LISTS LAYER_TARGETS)
    if("${path}" IN_LIST LAYER_${target}_FILES)
      set(${outVar} "${target}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  foreach(target IN LISTS LAYER_TARGETS)
    foreach(file IN LISTS LAYER_${target}_FILES)
      get_filename_component(fileDir "${file}" DIRECTORY)
      get_filename_component(fileStem "${file}" NAME_WE)
      if(fileDir STREQUAL dir AND fileStem STREQUAL stem)
        set(${outVar} "${target}" PARENT_SCOPE)
        return()
      endif()
    endforeach()
  endforeach()
  string(REGEX MATCH "^[^/]+" folder "${path}")
  foreach(target IN LISTS LAYER_TARGETS)
    if(LAYER_${target}_FOLDER STREQUAL folder)
      set(${outVar} "${target}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${outVar} "" PARENT_SCOPE)
endfunction()

set(problems "")
file(GLOB_RECURSE sources RELATIVE "${CODE}" "${CODE}/*/*.h" "${CODE}/*/*.cpp" "${CODE}/*/*.c" "${CODE}/*/*.inc")
list(SORT sources)
foreach(source IN LISTS sources)
  owner_of("${source}" owner)
  if(owner STREQUAL "")
    list(APPEND problems "${source}: no library of Code/CMakeLists.txt owns this file")
    continue()
  endif()
  get_filename_component(sourceDir "${source}" DIRECTORY)
  file(STRINGS "${CODE}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" header "${line}")
    string(REGEX REPLACE "^(\\./)+" "" header "${header}")
    set(where "${source}: ${line}")
    if(header MATCHES "(^|/)\\.\\.(/|$)" OR IS_ABSOLUTE "${header}")
      list(APPEND problems "${where}: climbs out of its folder (name headers from Code/, as folder/Header.h)")
      continue()
    endif()
    # A project header: beside the file, or named from Code/.
    string(REGEX MATCH "^[^/]+" first "${header}")
    set(target "")
    if(EXISTS "${CODE}/${sourceDir}/${header}")
      owner_of("${sourceDir}/${header}" target)
    elseif(header MATCHES "/" AND IS_DIRECTORY "${CODE}/${first}")
      owner_of("${header}" target)
    endif()
    if(NOT target STREQUAL "")
      if(NOT target IN_LIST LAYER_${owner}_SEES)
        list(APPEND problems "${where}: ${owner} cannot see ${target}")
      endif()
      continue()
    endif()
    if(header MATCHES "${qtHeader}" AND NOT LAYER_${owner}_TOOLKIT)
      list(APPEND problems "${where}: ${owner} is toolkit-free and cannot include Qt")
    endif()
    foreach(target IN LISTS LAYER_TARGETS)
      if(target STREQUAL owner)
        continue()
      endif()
      foreach(prefix IN LISTS LAYER_${target}_HIDDEN_HEADERS)
        if(header MATCHES "^${prefix}")
          list(APPEND problems "${where}: only ${target} may include this header")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Includes that leak out of their layer:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "The includes of ${count} files keep to their layers.")
