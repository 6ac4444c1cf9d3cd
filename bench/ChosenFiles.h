#pragma once

// The benchmarks' dialogs: the open dialog chooses the files it is given, and
// nothing else is asked.

#include <optional>
#include <string>
#include <vector>

#include "controls/UserDialogs.h"

namespace sonvarro::bench {

struct ChosenFiles : IUserDialogs {
  std::vector<std::string> files;
  std::vector<std::string> OpenSourceFiles(const std::string&) override { return files; }
  std::optional<std::string> PickOutputFolder() override { return std::nullopt; }
  std::optional<std::string> InputQuery(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
};

}  // namespace sonvarro::bench
