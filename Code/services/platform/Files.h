#pragma once

#include <cstdint>
#include <string>

#include "services/platform/Result.h"

namespace sonvarro::platform {

// True when the system finds anything at path (a link counts by what it
// points to). A path the system cannot look into counts as missing.
bool Exists(const std::string& path);

// True for a regular file, or a link to one. A pipe, a device, a socket or a
// folder under a media file's name is none: opening one to read could block
// until some other program writes to it.
bool IsRegularFile(const std::string& path);

// Removes path when it is a regular file itself (a link is not followed, a
// folder or anything else is left alone). Fails when nothing was removed:
// EISDIR for a folder, EINVAL for a link or anything else that is no regular
// file, the system's error when it cannot look or remove.
Status RemoveRegularFile(const std::string& path);

// The length of the file at path in bytes. Fails when the file cannot be
// opened for reading (missing, no permission) and for a folder (EISDIR). The
// file is opened without blocking, so a pipe under the name does not hold the
// caller up.
Result<int64_t> FileSize(const std::string& path);

// Creates path as a new, empty file, only when the file system has no file of
// that name by its own rules (a folder that ignores letter case finds
// "song.mp3" under "SONG.mp3"): the failure's error is EEXIST then, so that a
// caller can tell a taken name from any other failure (no such folder, no
// right to write).
Status CreateNewFile(const std::string& path);

}  // namespace sonvarro::platform
