#pragma once

// Reading and writing whole files, and appending to one.

#include <string>

#include "services/platform/Result.h"

namespace sonvarro::platform {

// The file's bytes as they are. A folder at the path fails (EISDIR).
Result<std::string> ReadWholeFile(const std::string& path);

// Writes content as the file at path so that the old file stays whole until
// the new one is complete: the content goes into the target's temporary file
// beside it (".<name>.tmp"), which then takes the target's place. Saves of
// one file, in this program or another, take turns on that temporary; one
// left by a save that was cut short is reused by the next. A link stays a
// link (the file it points to is replaced), the replaced file's permission
// bits carry over to the new one, and a file its owner made read-only is not
// replaced (EACCES).
Status ReplaceFileContent(const std::string& path, const std::string& content);

// Appends text to the file at path, creating the file when it is missing.
// The file is opened and closed for this one call.
Status AppendToFile(const std::string& path, const std::string& text);

}  // namespace sonvarro::platform
