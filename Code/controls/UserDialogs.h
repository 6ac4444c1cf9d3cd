#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sonvarro {

// The modal dialogs through which the behaviour asks the user for paths and
// names. The program's are the toolkit's; tests script the answers.
class IUserDialogs {
 public:
  virtual ~IUserDialogs() = default;
  // The open dialog for source files, starting in initialDir: the chosen
  // paths in its order, none when cancelled.
  virtual std::vector<std::string> OpenSourceFiles(const std::string& initialDir) = 0;
  // The output folder picker: a folder path, or nothing when cancelled.
  virtual std::optional<std::string> PickOutputFolder() = 0;
  // A single-line input box: caption, prompt and the text it starts with;
  // the text confirmed, or nothing when the user cancels.
  virtual std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                                const std::string& text) = 0;
};

}  // namespace sonvarro
