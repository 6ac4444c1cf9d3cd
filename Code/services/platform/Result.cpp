#include "services/platform/Result.h"

#include <cerrno>
#include <cstring>

namespace sonvarro::platform {

Status Status::Failed(std::string attempt, std::string path, int error) {
  return Status(std::move(attempt), std::move(path), error, std::strerror(error));
}

Status Status::FailedWithErrno(const char* attempt, const std::string& path) {
  const int error = errno;
  return Failed(attempt, path, error);
}

Status Status::FailedWithText(std::string attempt, std::string path, std::string message) {
  return Status(std::move(attempt), std::move(path), 0, std::move(message));
}

std::string Status::Describe() const {
  if (Ok()) return {};
  std::string text = "Cannot " + attempt_;
  if (!path_.empty()) text += " \"" + path_ + "\"";
  return text + ": " + message_;
}

}  // namespace sonvarro::platform
