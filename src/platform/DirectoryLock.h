#pragma once
// One writer at a time: an advisory lock (flock) on a lock file in a directory, held around every
// read-modify-write of the files in it. A second Relicor waits a short time for the lock, then
// gives up with kBusyText. The lock file is removed when the lock is released.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/Result.h"

namespace relicor {

inline constexpr std::string_view kLockFileName = "RELICOR.LCK";
inline constexpr std::string_view kBusyText = "pool is busy: another Relicor is writing";
// How long a command waits for another Relicor to finish writing.
inline constexpr std::chrono::milliseconds kLockWait{3000};

class DirectoryLock {
 public:
  // No lock: releases nothing.
  DirectoryLock() = default;
  ~DirectoryLock();
  DirectoryLock(DirectoryLock&& other) noexcept;
  DirectoryLock& operator=(DirectoryLock&& other) noexcept;
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  // Takes the lock of `dir`, waiting at most `wait` for another holder; then an error of kind
  // kLockBusy with kBusyText (and the lock file's path). A lock file that is no regular file (a
  // directory, a link) or a lock the system refuses (ENOLCK on a network file system) is an error
  // of kind kLockFailed. Only a directory that does not exist or that this process cannot write at
  // all (read-only) gives no lock and no error: nothing can be written there, and the write that
  // follows says why (LockPool refuses a missing pool itself).
  static Result<DirectoryLock> Acquire(const std::string& dir, std::chrono::milliseconds wait = kLockWait);

  bool held() const { return fd_ >= 0; }
  // Releases the lock (and removes the lock file) now.
  void Release();

 private:
  DirectoryLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  int fd_ = -1;
  std::string path_;
};

}  // namespace relicor
