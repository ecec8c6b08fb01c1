#include "platform/DirectoryLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

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
  const std::string path = JoinPath(dir.empty() ? "." : dir, kLockFileName);
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return DirectoryLock();
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      if (StillTheLockFile(fd, path)) return DirectoryLock(fd, path);
      ::close(fd);
      continue;
    }
    const int err = errno;
    ::close(fd);
    if (err != EWOULDBLOCK && err != EINTR) return DirectoryLock();
    if (std::chrono::steady_clock::now() >= deadline)
      return MakeError(std::string(kBusyText) + " (" + path + ")");
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace relicor
