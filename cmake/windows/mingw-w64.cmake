# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix
# thread model, for std::thread). Test programs run under Wine through
# scripts/windows/wine.sh, which keeps its prefix in the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SONVARRO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SONVARRO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SONVARRO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${SONVARRO_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SONVARRO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs and DLLs carry the compiler's runtime (libgcc, libstdc++,
# winpthread) inside: they need no DLL beyond the system's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../../scripts/windows/wine.sh")

# The cross-built libraries (scripts/windows/libraries.sh prints their prefix):
#   -DSONVARRO_WINDOWS_DEPS=<prefix>
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SONVARRO_WINDOWS_DEPS)
if(SONVARRO_WINDOWS_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH "${SONVARRO_WINDOWS_DEPS}")
  set(ENV{PKG_CONFIG_LIBDIR} "${SONVARRO_WINDOWS_DEPS}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()
