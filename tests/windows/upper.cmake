# The libraries above the engine on the Windows build: the source list, the
# probe on the cross-built FFmpeg, the windows' toolkit-free behaviour, and
# sonvarro-convert.exe run as a user runs it.

# Media for the probe in every kind of container the source list takes, made
# by Debian's ffmpeg tool here, on the build machine: 2.5 s of sound, with a
# picture in the video containers (whose decoders the Windows FFmpeg lacks).
# Each recipe is the file's name, "|", and the options that make it.
find_program(SONVARRO_FFMPEG_TOOL ffmpeg REQUIRED)
set(probeMedia "${CMAKE_CURRENT_BINARY_DIR}/probe_media")
set(sound "-f lavfi -i sine=frequency=440:duration=2.5")
set(picture "-f lavfi -i testsrc=duration=2.5:size=64x48:rate=25")
set(probeRecipes
  "tone.wav|${sound}"
  "tone.mp3|${sound} -c:a libmp3lame"
  "tone.flac|${sound}"
  "tone.opus|${sound}"
  "tone.aiff|${sound}"
  "tone.m4a|${sound} -c:a aac"
  "tone.mka|${sound}"
  "tone.oga|${sound}"
  "tone.wv|${sound}"
  "tone.caf|${sound}"
  "tone.ac3|${sound}"
  "tone.wma|${sound}"
  "clip.mp4|${picture} ${sound} -c:v mpeg4 -c:a aac -shortest"
  "clip.mkv|${picture} ${sound} -c:v mpeg4 -c:a libvorbis -shortest"
  "clip.avi|${picture} ${sound} -c:v mpeg4 -c:a libmp3lame -shortest"
  "clip.mpg|${picture} ${sound} -c:v mpeg1video -c:a mp2 -shortest"
  "clip.ts|${picture} ${sound} -c:v mpeg2video -c:a mp2 -shortest"
  "clip.flv|${picture} ${sound} -c:v flv1 -c:a libmp3lame -ar 44100 -shortest"
  "clip.wmv|${picture} ${sound} -c:v wmv2 -c:a wmav2 -shortest")
set(probeFiles "")
set(probeCommands "")
foreach(recipe IN LISTS probeRecipes)
  string(REGEX REPLACE "\\|.*" "" name "${recipe}")
  string(REGEX REPLACE "^[^|]*\\|" "" options "${recipe}")
  separate_arguments(options UNIX_COMMAND "${options}")
  list(APPEND probeFiles "${probeMedia}/${name}")
  list(APPEND probeCommands COMMAND ${SONVARRO_FFMPEG_TOOL} -nostdin -v error -y ${options} "${probeMedia}/${name}")
endforeach()
add_custom_command(
  OUTPUT ${probeFiles}
  COMMAND ${CMAKE_COMMAND} -E make_directory "${probeMedia}" ${probeCommands}
  COMMENT "Making the media the probe reads under Wine")
add_custom_target(windows_probe_media DEPENDS ${probeFiles})

# The core tests of these libraries, the same sources as on Linux, and the
# probe on the media above.
add_executable(windows_upper_tests
  probe_windows_test.cpp
  ../core/code_error_form_test.cpp ../core/init_file_form_test.cpp ../core/preview_playback_test.cpp
  ../core/source_files_test.cpp ../core/start_up_test.cpp ../core/trim_test.cpp
  ../support/Ffmpeg.cpp ../support/SilentWav.cpp ../support/TestMain.cpp)
target_link_libraries(windows_upper_tests PRIVATE sonvarro_windows_test_support sonvarro_shell)
target_link_options(windows_upper_tests PRIVATE ${SONVARRO_WINDOWS_STATIC_RUNTIME})
sonvarro_version_resource(windows_upper_tests "Sonvarro Converter upper library tests" VERSION 1.8.0.0)
target_compile_definitions(windows_upper_tests PRIVATE
  SONVARRO_FFMPEG_TOOL="${SONVARRO_FFMPEG_TOOL}" SONVARRO_FIXTURE_DIR="${fixture_dir}"
  SONVARRO_PROBE_MEDIA="probe_media")
add_dependencies(windows_upper_tests windows_probe_media companions help_file windows_fixture_res_good
  windows_fixture_res_no_email windows_fixture_res_no_picture windows_fixture_res_bad_picture)
# The ffmpeg tool is a Linux program, which no test starts under Wine: the
# case that makes its media with it is covered by the probe's own test here,
# on media made at build time.
set(SONVARRO_UPPER_LINUX_ONLY_CASES AddSourceFilesTest.TodaysFormatsAreAddedWithTheirDuration)
list(JOIN SONVARRO_UPPER_LINUX_ONLY_CASES ":" linuxOnly)
gtest_discover_tests(windows_upper_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_FILTER "-${linuxOnly}"
  PROPERTIES ENVIRONMENT "SONVARRO_APP_DIR=${SONVARRO_APP_DIR}")

# sonvarro-convert.exe from the application folder, converting a tone with
# an odd name; the outputs are read by Debian's ffprobe.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME windows_convert_under_wine
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/convert_under_wine.py $<TARGET_FILE:sonvarro-convert>
    ${PROJECT_SOURCE_DIR}/scripts/windows/wine.sh)
