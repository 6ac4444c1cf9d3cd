#include "settings/DefaultFolders.h"

#include "services/platform/HomeFolder.h"
#include "services/platform/Paths.h"

namespace sonvarro {
namespace {

constexpr const char* kOutputFolderName = "Sonvarro";

}  // namespace

std::string HomeFolder() { return platform::WithTrailingSeparator(platform::HomeFolder()); }

std::string DefaultOutputFolder() { return HomeFolder() + kOutputFolderName; }

std::string DefaultInitDir() { return HomeFolder(); }

}  // namespace sonvarro
