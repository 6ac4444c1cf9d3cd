#include "services/FileFunc.h"

#include <algorithm>
#include <cerrno>

#include "services/StrFunc.h"
#include "services/platform/Folders.h"
#include "services/platform/Paths.h"

namespace sonvarro {
namespace {

bool AllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Decimal text plus one, of any length: "9" gives "10", "0099" gives "100".
std::string Incremented(const std::string& digits) {
  std::string number = digits.substr(std::min(digits.find_first_not_of('0'), digits.size() - 1));
  for (auto it = number.rbegin(); it != number.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return number;
    }
    *it = '0';
  }
  return "1" + number;
}

}  // namespace

std::vector<std::string> TFileFunc::GetFileList(const std::string& directory, const std::string& extensionFilter) {
  std::vector<std::string> files;
  // An empty directory part means the working folder, as for any relative
  // path. A folder that cannot be read lists what was read of it.
  platform::ForEachFileIn(directory.empty() ? "." : directory, [&](const std::string& name) {
    std::string path = directory + name;
    if (extensionFilter.empty() || platform::ExtensionPart(path) == extensionFilter) files.push_back(std::move(path));
  });
  return files;
}

std::string TFileFunc::GetFileBaseName(const std::string& path) {
  const std::string name(platform::FileNamePart(path));
  if (name.find('.') == std::string::npos) return name;
  const std::string extension = TStrFunc::LastPart(name, '.');
  return name.substr(0, name.size() - extension.size() - 1);
}

std::string TFileFunc::GetFileDir(const std::string& path) { return platform::FolderPart(path); }

std::string TFileFunc::GetUniqueFileName(const std::string& wantedPath) {
  RequestedBaseName = GetFileBaseName(wantedPath);
  return NextFreeFileName(wantedPath);
}

std::string TFileFunc::NextFreeFileName(const std::string& candidatePath) {
  std::string candidate = candidatePath;
  for (;;) {
    const std::string directory = GetFileDir(candidate);
    const std::string baseName = GetFileBaseName(candidate);

    // Names compare byte for byte here; ReserveUniqueFileName lets the file
    // system have its say.
    const auto files = GetFileList(directory, "");
    const bool taken = std::any_of(files.begin(), files.end(),
                                   [&](const std::string& file) { return GetFileBaseName(file) == baseName; });
    if (!taken) return candidate;
    candidate = FollowingName(candidate);
  }
}

std::string TFileFunc::FollowingName(const std::string& candidate) const {
  const std::string directory = GetFileDir(candidate);
  const std::string baseName = GetFileBaseName(candidate);
  const std::string extension = platform::ExtensionPart(candidate);
  const std::string suffix = TStrFunc::LastPart(baseName, '_');
  if (baseName == RequestedBaseName || baseName.find('_') == std::string::npos || !AllDigits(suffix)) {
    // The first collision appends "_1". A base name without a numeric
    // suffix can only get here when NextFreeFileName is called on its own;
    // it is treated as a first collision rather than failing.
    return directory + baseName + "_1" + extension;
  }
  return directory + baseName.substr(0, baseName.size() - suffix.size()) + Incremented(suffix) + extension;
}

std::string TFileFunc::ReserveUniqueFileName(const std::string& wantedPath, const NewFileCreator& create) {
  std::string candidate = GetUniqueFileName(wantedPath);
  // Bounded, so that a file system that calls every name taken cannot hold
  // the job forever.
  for (int attempt = 0; attempt < kReserveAttempts; ++attempt) {
    const platform::Status created = create(candidate);
    if (created.Ok() || created.Error() != EEXIST) return candidate;
    candidate = NextFreeFileName(FollowingName(candidate));
  }
  return candidate;
}

}  // namespace sonvarro
