#pragma once
// A value or an error text that says where (file, operation, reason).

#include <string>
#include <utility>
#include <variant>

namespace relicor {

struct Error {
  std::string message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : data_(std::move(value)) {}      // NOLINT(google-explicit-constructor)
  Result(Error error) : data_(std::move(error)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return data_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() { return std::get<0>(data_); }
  const T& value() const { return std::get<0>(data_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const std::string& error() const { return std::get<1>(data_).message; }

 private:
  std::variant<T, Error> data_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error.message)), failed_(true) {}  // NOLINT

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return error_; }

 private:
  std::string error_;
  bool failed_ = false;
};

using Status = Result<void>;

inline Error MakeError(std::string message) {
  return Error{std::move(message)};
}

}  // namespace relicor
