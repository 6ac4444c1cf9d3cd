# The companion DLLs under Wine: the module, resource and version tests of
# the core on Windows stand-ins with real resources, the real Res.dll,
# Form.dll and Lib.dll and the encoder read back from the application folder,
# and what that folder holds.

# The stand-ins for the companions, each under its real name in a folder of
# its own (as the Linux build makes them, tests/CMakeLists.txt). Their
# picture is made by the ffmpeg tool here, on the build machine.
find_program(SONVARRO_FFMPEG_TOOL ffmpeg REQUIRED)
set(fixture_dir "${CMAKE_CURRENT_BINARY_DIR}/fixtures")
set(fixture_picture_dir "${CMAKE_CURRENT_BINARY_DIR}/fixture_picture")
set(fixture_jpeg "${fixture_picture_dir}/picture.jpg")
add_custom_command(
  OUTPUT "${fixture_jpeg}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${fixture_picture_dir}"
  COMMAND ${SONVARRO_FFMPEG_TOOL} -nostdin -v error -y -f lavfi -i color=c=0x3366cc:s=64x40 -frames:v 1 "${fixture_jpeg}"
  COMMENT "Making the fixture splash picture")
set(helpers "${PROJECT_SOURCE_DIR}/tests/helpers")
set_source_files_properties("${helpers}/fixture_res.rc" PROPERTIES OBJECT_DEPENDS "${fixture_jpeg}")
function(sonvarro_windows_fixture target folder name source)
  add_library(${target} MODULE ${source})
  target_include_directories(${target} PRIVATE "${PROJECT_SOURCE_DIR}/Code" "${helpers}" "${fixture_picture_dir}")
  target_compile_definitions(${target} PRIVATE ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME "${name}" SUFFIX ".dll" LINKER_LANGUAGE C
                        LIBRARY_OUTPUT_DIRECTORY "${fixture_dir}/${folder}")
endfunction()
sonvarro_windows_fixture(windows_fixture_res_good res_good Res "${helpers}/fixture_res.rc" FIXTURE_PICTURE=1)
sonvarro_windows_fixture(windows_fixture_res_no_email res_no_email Res "${helpers}/fixture_res.rc" FIXTURE_PICTURE=1
                         FIXTURE_NO_EMAIL)
sonvarro_windows_fixture(windows_fixture_res_no_picture res_no_picture Res "${helpers}/fixture_res.rc"
                         FIXTURE_PICTURE=0)
sonvarro_windows_fixture(windows_fixture_res_bad_picture res_bad_picture Res "${helpers}/fixture_res.rc"
                         FIXTURE_PICTURE=2)
sonvarro_windows_fixture(windows_fixture_form_recording form_recording Form "${helpers}/fixture_form.c")

# The test program carries file version 1.8.0.0, as the Linux one does.
add_executable(companions_tests
  ${PROJECT_SOURCE_DIR}/tests/core/modules_test.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/companions_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/support/TempDir.cpp)
sonvarro_version_resource(companions_tests "Sonvarro Converter companion tests" VERSION 1.8.0.0)
target_include_directories(companions_tests PRIVATE
  "${PROJECT_SOURCE_DIR}/tests/support" "${PROJECT_SOURCE_DIR}/Code" "${PROJECT_SOURCE_DIR}/companions/Res")
target_link_libraries(companions_tests PRIVATE sonvarro_services gtest_main)
target_compile_definitions(companions_tests PRIVATE
  SONVARRO_FIXTURE_DIR="${fixture_dir}" SONVARRO_APP_DIR="${SONVARRO_APP_DIR}"
  SONVARRO_FILE_VERSION="${SONVARRO_FILE_VERSION}")
add_dependencies(companions_tests companions
  windows_fixture_res_good windows_fixture_res_no_email windows_fixture_res_no_picture
  windows_fixture_res_bad_picture windows_fixture_form_recording)
if(TARGET evc)
  add_dependencies(companions_tests evc)
endif()
# The first program run under Wine makes its prefix, which takes a while.
gtest_discover_tests(companions_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_PREFIX "Windows.")

# The application folder holds what a Windows user copies beside the
# program, and its programs need no DLL but the system's and each other.
add_test(NAME Windows.AppFolder.HoldsWhatTheProgramNeeds
         COMMAND ${CMAKE_COMMAND} "-DAPP=${SONVARRO_APP_DIR}" "-DOBJDUMP=${CMAKE_OBJDUMP}"
                 "-DEVC=$<TARGET_EXISTS:evc>" -P "${CMAKE_CURRENT_SOURCE_DIR}/AppFolder.cmake")
