#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/UserDialogs.h"

namespace sonvarro::test {

// The user's answers to the modal dialogs, as a test scripts them. An
// answer left unscripted is the user's cancel; every open dialog and folder
// picker is counted.
struct ScriptedDialogs : IUserDialogs {
  std::function<std::vector<std::string>(const std::string& initialDir)> openSourceFiles;
  std::function<std::optional<std::string>()> pickOutputFolder;
  std::function<std::optional<std::string>(const std::string& caption, const std::string& prompt,
                                           const std::string& text)>
      inputQuery;
  int openDialogs = 0, folderPickers = 0;

  std::vector<std::string> OpenSourceFiles(const std::string& initialDir) override {
    ++openDialogs;
    return openSourceFiles ? openSourceFiles(initialDir) : std::vector<std::string>{};
  }
  std::optional<std::string> PickOutputFolder() override {
    ++folderPickers;
    return pickOutputFolder ? pickOutputFolder() : std::nullopt;
  }
  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& text) override {
    return inputQuery ? inputQuery(caption, prompt, text) : std::nullopt;
  }
};

}  // namespace sonvarro::test
