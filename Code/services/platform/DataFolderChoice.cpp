#include <cstdio>

#include "services/platform/DataFolder.h"
#include "services/platform/DataFolderSteps.h"
#include "services/platform/Folders.h"
#include "services/platform/Paths.h"

namespace sonvarro::platform {

using namespace data_folder_steps;

bool CanWriteAppFolder(const std::string& appFolder) {
  const std::string config = appFolder + kConfigFolder;
  return MayWriteFolder(appFolder) && (!IsFolder(config) || MayWriteFolder(config));
}

std::string DataFolder(const std::string& appFolder, bool appFolderWritable, const UserDataPlaces& places) {
  const std::string app = WithTrailingSeparator(appFolder);
  if (appFolderWritable) return app;
  const std::string base = UserDataHome(places);
  if (base.empty()) {
    std::fprintf(stderr, "No home folder for the settings and the log: they stay in %s.\n", app.c_str());
    return app;
  }
  const std::string folder = JoinPath(base, kUserDataFolderName) + kPathSeparator;
  const std::string config = folder + kConfigFolder;
  if (IsFolder(config)) return folder;
  Status prepared = MakeUserFolders(folder.substr(0, folder.size() - 1));
  if (prepared) prepared = CopyDefaults(app + kConfigFolder, config.substr(0, config.size() - 1));
  if (prepared) return folder;
  std::fprintf(stderr, "Cannot prepare %s (%s): the settings and the log stay in %s.\n", folder.c_str(),
               prepared.Describe().c_str(), app.c_str());
  return app;
}

std::string DataFolder(const std::string& appFolder) {
  return DataFolder(appFolder, CanWriteAppFolder(WithTrailingSeparator(appFolder)), ProcessUserDataPlaces());
}

}  // namespace sonvarro::platform
