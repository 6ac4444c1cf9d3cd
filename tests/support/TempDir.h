#pragma once

#include <filesystem>
#include <string>

namespace sonvarro::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The folder as text, ending in the path separator.
  std::string Folder() const {
    return path_.u8string() + static_cast<char>(std::filesystem::path::preferred_separator);
  }
  // Writes a file (folders created as needed) and returns its full path.
  // Names and paths are UTF-8 on every system.
  std::string WriteFile(const std::string& relative, const std::string& content = "") const;

 private:
  std::filesystem::path path_;
};

}  // namespace sonvarro::test
