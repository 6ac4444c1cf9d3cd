# The toolkit-free tests on the Windows build: the platform layer's Windows
# side, and the tests of the core libraries whose sources build there.
add_library(sonvarro_windows_test_support STATIC
  ../support/LogMessages.cpp ../support/RecordingDesktop.cpp ../support/TempDir.cpp ../support/VirtualScheduler.cpp
  ../support/WaitUntil.cpp)
target_include_directories(sonvarro_windows_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests/support)
target_link_libraries(sonvarro_windows_test_support PUBLIC sonvarro_settings gtest gmock)

# Programs that need no DLL but the system's, so Wine runs them from the
# build folder as they are.
set(SONVARRO_WINDOWS_STATIC_RUNTIME -static-libgcc -static-libstdc++ -static)

# The child the platform tests start: it prints its arguments back, waits,
# or starts a child of its own. Beside the tests, which find it there.
add_executable(test_child helpers/test_child.cpp)
target_link_options(test_child PRIVATE -municode ${SONVARRO_WINDOWS_STATIC_RUNTIME})
# A stand-in for evc.exe: prints the arguments it got and a status line, then
# waits to be stopped. The encoder test copies it beside its program folder.
add_executable(stand_in_evc helpers/stand_in_evc.cpp)
target_link_options(stand_in_evc PRIVATE -municode ${SONVARRO_WINDOWS_STATIC_RUNTIME})

add_executable(windows_core_tests
  encoder_run_test.cpp platform_windows_test.cpp
  ../core/apply_profile_test.cpp ../core/command_line_test.cpp ../core/custom_profiles_test.cpp
  ../core/file_names_test.cpp ../core/ini_file_test.cpp ../core/key_map_test.cpp
  ../core/output_folder_test.cpp ../core/output_tables_test.cpp ../core/text_formats_test.cpp
  ../core/user_settings_test.cpp ../core/window_outline_test.cpp
  ../support/TestMain.cpp)
target_link_libraries(windows_core_tests PRIVATE sonvarro_windows_test_support)
target_link_options(windows_core_tests PRIVATE ${SONVARRO_WINDOWS_STATIC_RUNTIME})
add_dependencies(windows_core_tests test_child stand_in_evc)
# Cases of those sources that hold by the Linux file system's rules alone:
# names with "/", ":" or quotes in them, a file system that tells "SONG.mp3"
# from "song.mp3", links, a file replaced while a reader holds it open
# without sharing its deletion (Windows refuses that). The Windows tests
# above cover the same behaviour by the Windows rules.
set(SONVARRO_LINUX_ONLY_CASES
  FileDir.IsEverythingUpToTheLastSlash UniqueFileName.SkipsEveryBaseNameAFileInTheFolderHas
  ReserveUniqueFileName.TheFileSystemDecidesWhatIsTakenAndTheNameIsHeld RemoveRegularFile.RemovesOnlyAFileOfItsOwn
  CustomProfiles.TheAddCounterCountsOnPastItsLargestNumber IniFileTest.PathsWithBlanksQuotesAndNonAsciiLetters
  CommandLineTest.PathsOfEveryKindStaySingleArguments
  CommandLineTest.OutputFolderGetsItsSlashAndIsCreated CommandLineTest.AnOutputFolderThatCannotBeCreatedIsOnlyLogged)
list(JOIN SONVARRO_LINUX_ONLY_CASES ":" linuxOnly)
# The first run under Wine makes its prefix, which takes a while.
gtest_discover_tests(windows_core_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_FILTER "-${linuxOnly}")

# The engine running the real evc.exe of this build on tones made by Debian's
# ffmpeg tool: a short one to convert, a long one to stop in the middle.
find_program(SONVARRO_FFMPEG_TOOL ffmpeg REQUIRED)
set(tones "${CMAKE_CURRENT_BINARY_DIR}/tones")
add_custom_command(
  OUTPUT "${tones}/short.wav" "${tones}/long.wav"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${tones}"
  COMMAND ${SONVARRO_FFMPEG_TOOL} -nostdin -v error -y -f lavfi -i sine=frequency=440:duration=8 "${tones}/short.wav"
  COMMAND ${SONVARRO_FFMPEG_TOOL} -nostdin -v error -y -f lavfi -i sine=frequency=440:duration=600 -ac 2
          "${tones}/long.wav"
  COMMENT "Making the tones the engine converts under Wine")
add_custom_target(windows_tones DEPENDS "${tones}/short.wav" "${tones}/long.wav")
if(TARGET evc)
  add_executable(windows_engine_tests real_encoder_run_test.cpp ../support/TestMain.cpp)
  target_link_libraries(windows_engine_tests PRIVATE sonvarro_windows_test_support)
  target_link_options(windows_engine_tests PRIVATE ${SONVARRO_WINDOWS_STATIC_RUNTIME})
  # Paths from the tests' folder, which Windows programs read as they are.
  file(RELATIVE_PATH evcPath "${CMAKE_CURRENT_BINARY_DIR}" "${SONVARRO_APP_DIR}/evc.exe")
  target_compile_definitions(windows_engine_tests PRIVATE SONVARRO_WINDOWS_EVC="${evcPath}"
                             SONVARRO_WINDOWS_SHORT_TONE="tones/short.wav" SONVARRO_WINDOWS_LONG_TONE="tones/long.wav")
  add_dependencies(windows_engine_tests evc windows_tones)
  gtest_discover_tests(windows_engine_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
endif()
