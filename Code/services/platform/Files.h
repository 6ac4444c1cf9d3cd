#pragma once

#include <string>

namespace sonvarro::platform {

// True for a regular file, or a link to one. A pipe, a device, a socket or a
// folder under a media file's name is none: opening one to read could block
// until some other program writes to it.
bool IsRegularFile(const std::string& path);

// Removes path when it is a regular file itself (a link is not followed, a
// folder or anything else is left alone). True when a file was removed.
bool RemoveRegularFile(const std::string& path);

enum class NewFileResult { Created, Exists, Failed };

// Creates path as a new, empty file, only when the file system has no file of
// that name by its own rules (a folder that ignores letter case finds
// "song.mp3" under "SONG.mp3"): Exists then. Failed for any other reason (no
// such folder, no right to write).
NewFileResult CreateNewFile(const std::string& path);

}  // namespace sonvarro::platform
