// Result<T>: a value or an error text, for operations whose failure the
// caller must see (the program's own files: settings folder, tag files, log).
// No exceptions cross module boundaries; functions that can fail return this.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace veltrane {

struct Error {
  std::string message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
  Result(Error error) : error_(std::move(error.message)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const T& value() const& { return *value_; }
  T& value() & { return *value_; }
  T&& value() && { return std::move(*value_); }
  const T& operator*() const& { return *value_; }
  const T* operator->() const { return &*value_; }
  // The error text; empty when ok().
  const std::string& error() const { return error_; }

 private:
  std::optional<T> value_;
  std::string error_;
};

// Result of an operation that yields nothing but can fail.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Error error) : error_(std::move(error.message)), ok_(false) {}  // NOLINT(google-explicit-constructor)
  static Status Ok() { return Status(); }
  bool ok() const { return ok_; }
  explicit operator bool() const { return ok_; }
  const std::string& error() const { return error_; }

 private:
  std::string error_;
  bool ok_ = true;
};

}  // namespace veltrane
