#pragma once
// A value or an error that says where (file, operation, reason). An error carries a kind, so that
// code decides what to do about it without reading its text (rewording a message never changes
// what the program does), the path and operation it is about where there is one, and the
// operating system's error number where one caused it.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace relicor {

enum class ErrorKind : std::uint8_t {
  kOther,              // any failure nobody decides on
  kLockBusy,           // another Relicor holds the lock (after the wait)
  kLockFailed,         // the lock cannot be taken for another reason (not a regular file, ENOLCK, ...)
  kNoDirectory,        // the directory to lock or work in does not exist
  kJournalUnreadable,  // RELICOR.JNL cannot be read or is not a whole journal
  kJournalRefused,     // RELICOR.JNL names a path outside its directories, or one path twice
  kJournalForeign,     // RELICOR.JNL was written for directories of another identity (a copy)
  kJournalStuck,       // a move RELICOR.JNL records cannot be finished or undone now
  kTargetExists,       // a move or copy found its target's name taken (nothing was replaced)
  kMoveFailed,         // an item file (and its sidecar) could not be moved; nothing changed
  kAlreadyInDatabase,  // the item is registered already: nothing changed, the keeper is told so
  kDeclined,           // the keeper answered no to a question: nothing was done
  kNoSentDirectory,    // no sent directory is assigned, or it does not exist
};

struct Error {
  ErrorKind kind = ErrorKind::kOther;
  std::string path;       // the file or directory it is about, or empty
  std::string operation;  // what was being done to it ("cannot open", "cannot move", ...), or empty
  int errnum = 0;         // the errno behind it, or 0
  std::string message;    // the whole text the keeper reads
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
  // The whole error, to pass on with its kind.
  const Error& failure() const { return std::get<1>(data_); }
  ErrorKind kind() const { return ok() ? ErrorKind::kOther : failure().kind; }

 private:
  std::variant<T, Error> data_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)), failed_(true) {}  // NOLINT

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return error_.message; }
  const Error& failure() const { return error_; }
  ErrorKind kind() const { return error_.kind; }

 private:
  Error error_;
  bool failed_ = false;
};

using Status = Result<void>;

inline Error MakeError(std::string message) {
  return Error{ErrorKind::kOther, {}, {}, 0, std::move(message)};
}

inline Error MakeError(ErrorKind kind, std::string message, int errnum = 0) {
  return Error{kind, {}, {}, errnum, std::move(message)};
}

// The same error with `prefix` before its text (and `suffix` after it); kind, path, operation and
// errno stay.
inline Error Prefixed(std::string_view prefix, const Error& error, std::string_view suffix = {}) {
  Error prefixed = error;
  prefixed.message = std::string(prefix) + error.message + std::string(suffix);
  return prefixed;
}

// The same error with another kind: a caller that knows what the failure means for its operation.
inline Error WithKind(ErrorKind kind, Error error) {
  error.kind = kind;
  return error;
}

}  // namespace relicor
