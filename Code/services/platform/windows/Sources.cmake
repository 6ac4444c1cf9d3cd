# The platform layer's Windows implementation, one file beside each Linux one
# (the headers are shared), and the system libraries it links.
set(SONVARRO_PLATFORM_SOURCES
  services/platform/windows/ChildProcess.cpp services/platform/windows/Console.cpp
  services/platform/windows/DataFolder.cpp services/platform/windows/Desktop.cpp
  services/platform/windows/ExecutableFolder.cpp services/platform/windows/FileContent.cpp
  services/platform/windows/Files.cpp services/platform/windows/FileVersion.cpp
  services/platform/windows/Folders.cpp services/platform/windows/HomeFolder.cpp
  services/platform/windows/LocalTime.cpp services/platform/windows/Memory.cpp
  services/platform/windows/Modules.cpp services/platform/windows/Paths.cpp
  services/platform/windows/Processes.cpp services/platform/windows/Spawn.cpp
  services/platform/windows/StartProcess.cpp services/platform/windows/SystemText.cpp
)
set(SONVARRO_PLATFORM_LINK
  shell32 shlwapi ole32 advapi32 psapi version
)
