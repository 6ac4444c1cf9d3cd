#include "ui/QtUserDialogs.h"

#include "ui/OptionsDialog.h"
#include "ui/SourceFileDialogs.h"

namespace sonvarro {

std::vector<std::string> QtUserDialogs::OpenSourceFiles(const std::string& initialDir) {
  return RunOpenSourceFileDialog(owner_, initialDir);
}

std::optional<std::string> QtUserDialogs::PickOutputFolder() { return PickOutputFolderDialog(owner_); }

std::optional<std::string> QtUserDialogs::InputQuery(const std::string& caption, const std::string& prompt,
                                                     const std::string& text) {
  return RunInputQuery(owner_, caption, prompt, text);
}

}  // namespace sonvarro
