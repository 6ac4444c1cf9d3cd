# The platform layer's Windows implementation, one file beside each Linux one
# (the headers are shared), and the system libraries it links.
set(SONVARRO_PLATFORM_SOURCES
  services/platform/windows/FileVersion.cpp services/platform/windows/Modules.cpp
  services/platform/windows/SystemText.cpp
)
set(SONVARRO_PLATFORM_LINK
  version
)
