#pragma once

// What a call into the operating system gives back: success, or what was
// attempted, on which path, and the system's own error number and text, so
// that whoever shows or logs a failure can say exactly why.

#include <optional>
#include <string>
#include <utility>

namespace sonvarro::platform {

class Status {
 public:
  Status() = default;  // success

  // A failure with the system's error number; its text is the system's.
  static Status Failed(std::string attempt, std::string path, int error);
  // The same with the errno the failed call just left (read before
  // anything else can change it).
  static Status FailedWithErrno(const char* attempt, const std::string& path);
  // A failure the system reports as text only (a library that cannot be
  // loaded, for one): no error number.
  static Status FailedWithText(std::string attempt, std::string path, std::string message);

  bool Ok() const { return !failed_; }
  explicit operator bool() const { return Ok(); }

  // The system's error number; 0 when it gave none or nothing failed.
  int Error() const { return error_; }
  // The system's text for the failure; empty on success.
  const std::string& Message() const { return message_; }
  // What was attempted, such as "create the folder"; empty on success.
  const std::string& Attempt() const { return attempt_; }
  // The path the attempt was about; may be empty.
  const std::string& Path() const { return path_; }

  // One line for a log or a console: Cannot <attempt> "<path>": <message>.
  // Empty on success.
  std::string Describe() const;

 private:
  Status(std::string attempt, std::string path, int error, std::string message)
      : failed_(true),
        error_(error),
        message_(std::move(message)),
        attempt_(std::move(attempt)),
        path_(std::move(path)) {}

  bool failed_ = false;
  int error_ = 0;
  std::string message_;
  std::string attempt_;
  std::string path_;
};

// A value, or the Status that says why there is none.
template <typename T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: a value converts to its result
  // Only from a failed Status: a Result holds a value or says why not.
  Result(Status failure) : status_(std::move(failure)) {}  // NOLINT: so does a failure

  bool Ok() const { return value_.has_value(); }
  explicit operator bool() const { return Ok(); }
  const Status& GetStatus() const { return status_; }

  // Only on success.
  const T& Value() const& { return *value_; }
  T&& Value() && { return std::move(*value_); }
  T ValueOr(T fallback) const { return value_.value_or(std::move(fallback)); }

 private:
  std::optional<T> value_;
  Status status_;
};

}  // namespace sonvarro::platform
