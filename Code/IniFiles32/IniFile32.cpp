#include "IniFiles32/IniFile32.h"

#include <charconv>
#include <utility>

#include "services/platform/FileContent.h"
#include "services/platform/Files.h"
#include "services/platform/Folders.h"

namespace sonvarro {

namespace {

bool IsWhitespace(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trim(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsWhitespace(text[first])) ++first;
  while (last > first && IsWhitespace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool IsSectionHeader(const std::string& line) {
  const std::string trimmed = Trim(line);
  return !trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']';
}

std::string KeyOf(const std::string& line) {
  const size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : Trim(line.substr(0, equals));
}

std::string ValueOf(const std::string& line) {
  const size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : Trim(line.substr(equals + 1));
}

char FoldAsciiCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

std::vector<std::string> SplitLines(const std::string& content) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(content.substr(start));
      break;
    }
    lines.push_back(content.substr(start, end - start));
    start = end + ((content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

// Decimal digits with an optional sign, or hexadecimal digits after "$"
// (also after a sign), within the signed 32-bit range.
bool ParseInt32(const std::string& text, int32_t& result) {
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  int base = 10;
  if (pos < text.size() && text[pos] == '$') {
    base = 16;
    ++pos;
  }
  if (pos == text.size()) return false;
  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  // from_chars takes no sign of its own; read the magnitude in 64 bits.
  if (*first == '+' || *first == '-') return false;
  uint64_t magnitude = 0;
  auto [end, error] = std::from_chars(first, last, magnitude, base);
  if (error != std::errc() || end != last) return false;
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  if (magnitude > limit) return false;
  result = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude)) : static_cast<int32_t>(magnitude);
  return true;
}

[[noreturn]] void FailCreate(const std::string& path, const platform::Status& failure) {
  throw IniFileError("Cannot create file \"" + path + "\". " + failure.Message());
}

[[noreturn]] void FailOpen(const std::string& path, const platform::Status& failure) {
  throw IniFileError("Cannot open file \"" + path + "\". " + failure.Message());
}

std::string ReadContent(const std::string& path) {
  // Like a missing file, a folder at the path holds no settings.
  if (!platform::Exists(path) || platform::IsFolder(path)) return {};
  platform::Result<std::string> content = platform::ReadWholeFile(path);
  if (!content) FailOpen(path, content.GetStatus());
  return std::move(content).Value();
}

}  // namespace

TIniFile32::TIniFile32(std::string fileName) : fileName_(std::move(fileName)) {
  std::string content = ReadContent(fileName_);
  const size_t nul = content.find('\0');
  if (nul != std::string::npos) content.resize(nul);
  lines_ = SplitLines(content);
}

size_t TIniFile32::FindSection(const std::string& section) const {
  const std::string header = "[" + section + "]";
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (EqualIgnoringAsciiCase(lines_[i], header)) return i;
  }
  return kNotFound;
}

size_t TIniFile32::FindKeyOrBodyEnd(size_t header, const std::string& key, bool& found) const {
  found = false;
  size_t i = header + 1;
  for (; i < lines_.size() && !IsSectionHeader(lines_[i]); ++i) {
    if (KeyOf(lines_[i]) == key) {
      found = true;
      break;
    }
  }
  return i;
}

void TIniFile32::ReadSections(std::vector<std::string>& strings) const {
  strings.clear();
  for (const std::string& line : lines_) {
    if (!IsSectionHeader(line)) continue;
    const std::string trimmed = Trim(line);
    strings.push_back(Trim(trimmed.substr(1, trimmed.size() - 2)));
  }
}

std::string TIniFile32::ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const {
  if (key.empty()) return defaultValue;
  const size_t header = FindSection(section);
  if (header == kNotFound) return defaultValue;
  bool found = false;
  const size_t line = FindKeyOrBodyEnd(header, key, found);
  if (!found) return defaultValue;
  std::string value = ValueOf(lines_[line]);
  return value.empty() ? defaultValue : value;
}

int32_t TIniFile32::ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, "$");
  int32_t value = 0;
  return ParseInt32(text, value) ? value : defaultValue;
}

void TIniFile32::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  SetString(section, key, value);
  UpdateFile();
}

void TIniFile32::SetString(const std::string& section, const std::string& key, const std::string& value) {
  const size_t header = FindSection(section);
  if (header == kNotFound) {
    lines_.emplace_back();
    lines_.push_back("[" + section + "]");
    if (!key.empty()) lines_.push_back(key + "=" + value);
  } else if (!key.empty()) {
    bool found = false;
    const size_t line = FindKeyOrBodyEnd(header, key, found);
    if (found) {
      lines_[line] = key + "=" + value;
    } else {
      lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(line), key + "=" + value);
    }
  }
}

void TIniFile32::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile32::EraseSection(const std::string& section) {
  const size_t header = FindSection(section);
  if (header == kNotFound) return;
  size_t end = header + 1;
  while (end < lines_.size() && !IsSectionHeader(lines_[end])) ++end;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header), lines_.begin() + static_cast<std::ptrdiff_t>(end));
  if (header != 0) lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(header), std::string());
  UpdateFile();
}

void TIniFile32::UpdateFile() {
  std::string content;
  for (const std::string& line : lines_) {
    content += line;
    content += "\r\n";
  }
  if (const platform::Status saved = platform::ReplaceFileContent(fileName_, content); !saved)
    FailCreate(fileName_, saved);
}

}  // namespace sonvarro
