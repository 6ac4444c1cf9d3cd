#include "settings/OutputFolder.h"

#include "services/CommonLib.h"
#include "services/platform/Folders.h"
#include "services/platform/Paths.h"

namespace sonvarro {
namespace {

constexpr const char* kProbeName = "test";
constexpr int kWarningKind = 1;

bool IsDirectory(const std::string& path) { return !path.empty() && platform::IsFolder(path); }

// Whether a new subfolder can be made in `folder`. The probe takes a name
// that is not there yet and removes only the folder it made itself, so a
// folder of the user's is never touched.
bool AcceptsNewFolder(const std::string& folder) {
  const std::string base = platform::JoinPath(folder, kProbeName);
  std::string probe = base;
  for (int n = 1;; ++n) {
    const platform::Result<bool> taken = platform::NameInUse(probe);
    if (!taken) return false;
    if (!taken.Value()) break;
    probe = base + std::to_string(n);
  }
  if (!platform::CreateFolder(probe)) return false;
  platform::RemoveEmptyFolder(probe);
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
  // One that cannot be made is left to the conversion to report.
  if (!IsDirectory(result) && !result.empty()) platform::CreateFolders(result);
  return result;
}

}  // namespace sonvarro
