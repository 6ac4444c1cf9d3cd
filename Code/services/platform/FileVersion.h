#pragma once

// A program's file version (Windows: the FileVersion string of its version
// resource). Our programs carry it as a NUL-ended text in an ELF section of
// their own, which SONVARRO_FILE_VERSION_BLOCK places.

#include <string>

#define SONVARRO_FILE_VERSION_SECTION ".file_version"

// Gives the program that links this line its file version, such as "1.8.0.0".
#define SONVARRO_FILE_VERSION_BLOCK(version) \
  extern "C" __attribute__((used, section(SONVARRO_FILE_VERSION_SECTION))) const char sonvarro_file_version[] = version

namespace sonvarro::platform {

// The file version of the program at path; empty when the file cannot be
// read, is no 64-bit ELF file or carries no version.
std::string FileVersionOf(const std::string& path);

}  // namespace sonvarro::platform
