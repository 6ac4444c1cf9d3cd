# Windows programs and libraries carry their file version in a version
# resource, which the program reads back (FileVersionOf) and Explorer shows.
#
#   sonvarro_version_resource(<target> "<description>" [VERSION <a.b.c.d>])
#
# The version is SONVARRO_FILE_VERSION unless given.
function(sonvarro_version_resource target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "VERSION" "")
  set(SONVARRO_VERSION_TEXT "${SONVARRO_FILE_VERSION}")
  if(arg_VERSION)
    set(SONVARRO_VERSION_TEXT "${arg_VERSION}")
  endif()
  string(REPLACE "." "," SONVARRO_VERSION_NUMBERS "${SONVARRO_VERSION_TEXT}")
  set(SONVARRO_VERSION_DESCRIPTION "${description}")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(SONVARRO_VERSION_FILE_TYPE VFT_APP)
  else()
    set(SONVARRO_VERSION_FILE_TYPE VFT_DLL)
  endif()
  # The file name as the target writes it, known when the build is generated.
  set(SONVARRO_VERSION_FILE "$<TARGET_FILE_NAME:${target}>")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc")
  configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/Version.rc.in" "${rc}.in" @ONLY)
  file(GENERATE OUTPUT "${rc}" INPUT "${rc}.in")
  target_sources(${target} PRIVATE "${rc}")
endfunction()
