#pragma once

// The configuration files' own INI reader and writer. Its syntax is narrow on
// purpose, because the stored files depend on it:
// - a section header is a line whose trimmed text starts with "[" and ends
//   with "]"; a section is found by name only on a line that is exactly
//   "[" + name + "]" (letters A-Z in any case, no blanks around or inside);
// - keys compare with letter case; key and value are trimmed around the first
//   "="; an empty value reads as absent;
// - there are no comments; lines above the first header are never read;
// - a NUL ends the content; lines end at CR, LF or CR LF; saving writes CR LF
//   after every line.
// The whole file is held as lines; every write rewrites the file at once
// (SetString only changes the lines, for a later UpdateFile).
// Create one object per task: the file is read only when the object is made.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace sonvarro {

// A configuration file that cannot be read or saved. The text names the path
// and the system's reason: Cannot open file "<path>". <reason> or
// Cannot create file "<path>". <reason>
class IniFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TIniFile32 {
 public:
  // Loads the file when it exists; a missing file (or a folder standing at the
  // path) gives empty content and nothing is created until the first write.
  // Throws IniFileError ("Cannot open file ...") when the file exists but
  // cannot be read.
  explicit TIniFile32(std::string fileName);

  const std::string& FileName() const { return fileName_; }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Clears the list and adds the name of every section header line in file
  // order, duplicates and unfindable headers (such as " [A]") included.
  void ReadSections(std::vector<std::string>& strings) const;

  // The first value of the key in the first section of that name; the default
  // when the section, the key or a non-empty value is missing.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;

  // The value as a 32-bit number: decimal with an optional sign, or
  // hexadecimal after "$" or "0x". Anything else, or a number out of the
  // signed 32-bit range, gives the default.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const;

  // Sets key=value in the section (appending the section after a blank line
  // when it is missing) and saves. Throws IniFileError when the save fails;
  // the change stays in Lines() and the file keeps its previous content.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  // WriteString without the save: several keys set so and then saved with
  // one UpdateFile reach the file together, so a save cut short leaves all
  // of them as they were or all of them changed.
  void SetString(const std::string& section, const std::string& key, const std::string& value);

  // Removes the section's header and body and saves; a missing section leaves
  // the file untouched.
  void EraseSection(const std::string& section);

  // Writes every line followed by CR LF, replacing the file as a whole
  // through a temporary file in the same folder.
  void UpdateFile();

 private:
  static constexpr size_t kNotFound = static_cast<size_t>(-1);

  size_t FindSection(const std::string& section) const;
  // The line of the key in the body of the section whose header is at
  // `header`, or the index where the body ends.
  size_t FindKeyOrBodyEnd(size_t header, const std::string& key, bool& found) const;

  std::string fileName_;
  std::vector<std::string> lines_;
};

}  // namespace sonvarro
