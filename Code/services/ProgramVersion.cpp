#include "services/ProgramVersion.h"

#include <vector>

#include "services/TextFormats.h"
#include "services/platform/FileVersion.h"

namespace sonvarro {

std::string VersionText(const std::string& fileVersion) {
  std::vector<std::string> pieces;
  SplitNonEmpty(fileVersion, '.', pieces);
  if (pieces.empty()) return {};
  return pieces.size() == 1 ? pieces[0] : pieces[0] + "." + pieces[1];
}

std::string GetVersionText(const std::string& path) { return VersionText(platform::FileVersionOf(path).ValueOr({})); }

}  // namespace sonvarro
