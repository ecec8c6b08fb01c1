#include "platform/DirectoryLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::chrono::milliseconds kPollInterval{10};

// True when `fd` is still the file at `path` (the holder before may have removed it).
bool StillTheLockFile(int fd, const std::string& path) {
  struct stat open {
  }, named{};
  return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

int LockNow(int fd, const std::string& path) {
  if (const int err = faults::Check(faults::FileOp::kLock, path)) {
    errno = err;
    return -1;
  }
  return ::flock(fd, LOCK_EX | LOCK_NB);
}

// The lock could not be taken for a reason the system gives.
Error LockFailed(const std::string& dir, const std::string& path, int err) {
  return MakeError(ErrorKind::kLockFailed, "cannot lock " + dir + ": " + path + ": " + SystemErrorText(err),
                   err);
}

Error NotARegularFile(const std::string& dir, const std::string& path, std::string_view what, int err) {
  return MakeError(
      ErrorKind::kLockFailed,
      "cannot lock " + dir + ": " + path + " must be a regular file, and it is " + std::string(what), err);
}

// Why opening the lock file failed, as an error; no error (nothing) when nothing can be written in
// `dir` at all, so that there is nothing to guard.
std::optional<Error> OpenFailure(const std::string& dir, const std::string& path, int err) {
  if ((err == ENOENT || err == ENOTDIR) && !DirectoryExists(dir)) return std::nullopt;
  if (err == ELOOP) return NotARegularFile(dir, path, "a symbolic link", err);
  if (err == EISDIR) return NotARegularFile(dir, path, "a directory", err);
  if ((err == EROFS || err == EACCES || err == EPERM) && ::access(dir.c_str(), W_OK) != 0)
    return std::nullopt;
  return LockFailed(dir, path, err);
}

}  // namespace

DirectoryLock::~DirectoryLock() {
  Release();
}

DirectoryLock::DirectoryLock(DirectoryLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

DirectoryLock& DirectoryLock::operator=(DirectoryLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
    path_ = std::move(other.path_);
  }
  return *this;
}

void DirectoryLock::Release() {
  if (fd_ < 0) return;
  // Removed while still held, so a waiter that then gets the old file sees it is gone and retries.
  ::unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
}

Result<DirectoryLock> DirectoryLock::Acquire(const std::string& dir, std::chrono::milliseconds wait) {
  const std::string where = dir.empty() ? std::string(".") : dir;
  const std::string path = JoinPath(where, kLockFileName);
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0644);
    // A lock file another user made: the lock needs no right to write it.
    if (fd < 0 && (errno == EACCES || errno == EPERM)) fd = ::open(path.c_str(), O_RDONLY | kFlags);
    if (fd < 0) {
      auto failure = OpenFailure(where, path, errno);
      if (!failure) return DirectoryLock();
      return *failure;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      const int err = errno;
      ::close(fd);
      return NotARegularFile(where, path, "something else", err);
    }
    if (LockNow(fd, path) == 0) {
      if (StillTheLockFile(fd, path)) return DirectoryLock(fd, path);
      ::close(fd);
      continue;
    }
    const int err = errno;
    ::close(fd);
    if (err != EWOULDBLOCK && err != EINTR) return LockFailed(where, path, err);
    if (std::chrono::steady_clock::now() >= deadline)
      return MakeError(ErrorKind::kLockBusy, std::string(kBusyText) + " (" + path + ")");
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace relicor
