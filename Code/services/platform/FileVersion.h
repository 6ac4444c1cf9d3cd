#pragma once

// A program's file version (Windows: the FileVersion string of its version
// resource). Our programs carry it as a NUL-ended text in an ELF section of
// their own, which SONVARRO_FILE_VERSION_BLOCK places.

#include <string>

#include "services/platform/Result.h"

#define SONVARRO_FILE_VERSION_SECTION ".file_version"

// Gives the program that links this line its file version, such as "1.8.0.0".
#define SONVARRO_FILE_VERSION_BLOCK(version) \
  extern "C" __attribute__((used, section(SONVARRO_FILE_VERSION_SECTION))) const char sonvarro_file_version[] = version

namespace sonvarro::platform {

// The file version of the program at path. Fails with the system's error
// when the file cannot be opened, ENOEXEC when it is no whole 64-bit ELF
// file, ENODATA when it carries no version.
Result<std::string> FileVersionOf(const std::string& path);

}  // namespace sonvarro::platform
