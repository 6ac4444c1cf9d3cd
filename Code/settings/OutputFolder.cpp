#include "settings/OutputFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "services/CommonLib.h"

namespace sonvarro {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProbeName = "test";
constexpr int kWarningKind = 1;

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(path, ec);
}

// Whether a new subfolder can be made in `folder`. The probe takes a name
// that is not there yet and removes only the folder it made itself, so a
// folder of the user's is never touched.
bool AcceptsNewFolder(const std::string& folder) {
  const fs::path base = fs::path(folder) / kProbeName;
  fs::path probe = base;
  std::error_code ec;
  for (int n = 1; fs::symlink_status(probe, ec).type() != fs::file_type::not_found; ++n) {
    if (ec && ec != std::errc::no_such_file_or_directory) return false;
    probe = base.string() + std::to_string(n);
  }
  if (mkdir(probe.c_str(), 0777) != 0) return false;
  rmdir(probe.c_str());
  return true;
}

}  // namespace

std::string SelectOutputFolder(TCommonLib& common, const std::string& current, const FolderPicker& pickFolder) {
  std::optional<std::string> chosen;
  if (const std::optional<std::string> picked = pickFolder()) {
    if (!IsDirectory(*picked)) {
      common.ShowMessageBox(kInvalidPathMessage, kWarningKind);
    } else if (!AcceptsNewFolder(*picked)) {
      common.ShowMessageBox(kReadOnlyPathMessage, kWarningKind);
    } else {
      chosen = *picked;
    }
  }
  const std::string result = chosen.value_or(current);
  if (!IsDirectory(result) && !result.empty()) {
    std::error_code ignored;
    fs::create_directories(result, ignored);
  }
  return result;
}

}  // namespace sonvarro
