#pragma once

#include <QWidget>

#include "controls/UserDialogs.h"

namespace sonvarro {

// The toolkit's modal dialogs, each over the owner window.
class QtUserDialogs final : public IUserDialogs {
 public:
  explicit QtUserDialogs(QWidget* owner) : owner_(owner) {}

  std::vector<std::string> OpenSourceFiles(const std::string& initialDir) override;
  std::optional<std::string> PickOutputFolder() override;
  std::optional<std::string> InputQuery(const std::string& caption, const std::string& prompt,
                                        const std::string& text) override;

 private:
  QWidget* owner_;
};

}  // namespace sonvarro
