#pragma once

#include <functional>
#include <string>
#include <vector>

#include "services/platform/Files.h"

namespace sonvarro {

// File-name services; paths use "/" as their only separator.
class TFileFunc {
 public:
  // Full paths (directory + name) of the files in `directory` (ending in
  // "/"), folders left out, in the order the system lists them. A non-empty
  // `extensionFilter` such as ".mp3" keeps only names with exactly that
  // extension, letter case included. A missing directory lists nothing.
  static std::vector<std::string> GetFileList(const std::string& directory, const std::string& extensionFilter);

  // The file name without its last "." and what follows: "/in/a.b.mp4" gives
  // "a.b", "/in/name." gives "name", "/in/" gives "".
  static std::string GetFileBaseName(const std::string& path);

  // The directory part, ending in "/"; empty when the path has none.
  static std::string GetFileDir(const std::string& path);

  // The first path, from `wantedPath` on, whose base name no file in its
  // folder has, whatever that file's extension: song.mp3, song_1.mp3,
  // song_2.mp3, ... (clip_3.mp3 goes on with clip_3_1.mp3). Nothing is
  // created or reserved. Not reentrant: it keeps the wanted base name in
  // RequestedBaseName for its NextFreeFileName steps.
  std::string GetUniqueFileName(const std::string& wantedPath);

  // The first free path from `candidatePath` on. A candidate whose base name
  // is RequestedBaseName gets "_1"; one that already carries a "_n" suffix
  // gets n + 1. The folder is listed again for every candidate.
  std::string NextFreeFileName(const std::string& candidatePath);

  // GetUniqueFileName's path, reserved: created empty by the file system's
  // own rules, so that nothing existing is ever written over, whatever the
  // folder's rules on letter case. A name the file system reports taken
  // gives way to the next one. When creating fails for another reason (a
  // missing folder, no right to write), the free name is returned
  // unreserved and its writer meets the same error.
  using NewFileCreator = std::function<platform::Status(const std::string&)>;
  std::string ReserveUniqueFileName(const std::string& wantedPath,
                                    const NewFileCreator& create = platform::CreateNewFile);

  // Base name of the path last given to GetUniqueFileName.
  std::string RequestedBaseName;

 private:
  static constexpr int kReserveAttempts = 1000;
  // The candidate after this one: "_1" added, or its "_n" counted on.
  std::string FollowingName(const std::string& candidate) const;
};

}  // namespace sonvarro
