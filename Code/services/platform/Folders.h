#pragma once

// Folders: asking for them, making them, listing what they hold.

#include <functional>
#include <string>

#include "services/platform/Result.h"

namespace sonvarro::platform {

// True for a folder, or a link to one.
bool IsFolder(const std::string& path);

// Whether anything (a link itself included) has that name. False when the
// name or a folder on its way is missing; a failure when the system cannot
// tell (no right to look into the folder).
Result<bool> NameInUse(const std::string& path);

// Makes the one folder path; its parent must exist.
Status CreateFolder(const std::string& path);

// Makes folder with every missing folder above it. A folder that is already
// there counts as made.
Status CreateFolders(const std::string& folder);

// Removes path when it is an empty folder.
Status RemoveEmptyFolder(const std::string& path);

// path as seen from the working folder, made absolute (an absolute path
// stays as it is). Fails when the working folder cannot be told.
Result<std::string> AbsolutePath(const std::string& path);

// Hands the name of every entry of folder that is not a folder (links are
// judged by what they point to) to visit, in the order the system lists
// them. Stops at the first failure and returns it; what was visited until
// then stays visited.
Status ForEachFileIn(const std::string& folder, const std::function<void(const std::string& name)>& visit);

}  // namespace sonvarro::platform
