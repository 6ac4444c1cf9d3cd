# The companion libraries as Windows DLLs: the strings and the splash picture
# are real resources, the about box is a Win32 box, and each carries the
# version resource of the program. They are modules: the program loads them
# by name while it runs and links none of them.

function(sonvarro_companion target name description)
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME "${name}" SUFFIX ".dll"
    LIBRARY_OUTPUT_DIRECTORY "${SONVARRO_APP_DIR}")
  sonvarro_version_resource(${target} "${description}")
endfunction()

# The splash picture is drawn by the artwork generator, a host program: it is
# built for this machine on its own (no cross toolchain), then run here.
include(ExternalProject)
set(host_artwork_dir "${CMAKE_BINARY_DIR}/host-artwork")
set(host_make_artwork "${host_artwork_dir}/make_artwork")
ExternalProject_Add(host_artwork
  SOURCE_DIR "${PROJECT_SOURCE_DIR}/artwork"
  BINARY_DIR "${host_artwork_dir}"
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  BUILD_COMMAND ${CMAKE_COMMAND} --build "${host_artwork_dir}" --target make_artwork
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS "${host_make_artwork}"
  INSTALL_COMMAND "")

set(splash_dir "${CMAKE_CURRENT_BINARY_DIR}/Res")
set(splash_pictures "${splash_dir}/ImgFlash.jpg" "${splash_dir}/ImgFlash@2x.jpg")
add_custom_command(
  OUTPUT ${splash_pictures}
  COMMAND ${CMAKE_COMMAND} -E make_directory "${splash_dir}"
  COMMAND "${host_make_artwork}" "${splash_dir}" ImgFlash.jpg ImgFlash@2x.jpg
  DEPENDS host_artwork "${host_make_artwork}"
  COMMENT "Drawing the splash picture for Res.dll")
# Res.dll holds resources only; the resource compiler finds the pictures on
# its include path.
add_library(companion_res MODULE Res/Res.rc)
set_target_properties(companion_res PROPERTIES LINKER_LANGUAGE C)
set_source_files_properties(Res/Res.rc PROPERTIES OBJECT_DEPENDS "${splash_pictures}")
target_include_directories(companion_res PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/Res" "${splash_dir}")
sonvarro_companion(companion_res Res "Sonvarro Converter resources")

add_library(companion_form MODULE Form/windows/Form.cpp)
target_include_directories(companion_form PRIVATE "${PROJECT_SOURCE_DIR}/Code" "${CMAKE_CURRENT_SOURCE_DIR}/Form")
sonvarro_companion(companion_form Form "Sonvarro Converter about box")

add_library(companion_lib MODULE Lib/Lib.c)
sonvarro_companion(companion_lib Lib "Sonvarro Converter library")

add_custom_target(companions DEPENDS companion_res companion_form companion_lib)
