#include "platform/DirectoryWatch.h"

#include <cerrno>
#include <cstring>

#if defined(__linux__)
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace relicor {

#if defined(__linux__)

namespace {

// Enough for about a thousand names at one read.
constexpr std::size_t kBufferBytes = std::size_t{64} * 1024;

}  // namespace

DirectoryWatch::~DirectoryWatch() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<int> DirectoryWatch::Watch(const std::string& dir) {
  if (fd_ < 0) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return std::nullopt;
  }
  const int number =
      ::inotify_add_watch(fd_, dir.empty() ? "." : dir.c_str(), IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);
  if (number < 0) return std::nullopt;
  return number;
}

void DirectoryWatch::Stop(int number) {
  if (fd_ >= 0) ::inotify_rm_watch(fd_, number);
}

void DirectoryWatch::Drain(const std::function<void(int number, std::string_view name)>& came,
                           const std::function<void(int number)>& missed) {
  if (fd_ < 0) return;
  if (buffer_.empty()) buffer_.resize(kBufferBytes);
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (got <= 0) {
      // Nothing more can be read: whatever comes from now on is unseen.
      missed(kEveryDirectory);
      return;
    }
    std::size_t at = 0;
    while (at + sizeof(inotify_event) <= static_cast<std::size_t>(got)) {
      inotify_event event;
      std::memcpy(&event, buffer_.data() + at, sizeof event);
      const char* name = buffer_.data() + at + sizeof event;
      at += sizeof event + event.len;
      if ((event.mask & IN_Q_OVERFLOW) != 0) {
        missed(kEveryDirectory);
      } else if ((event.mask & IN_IGNORED) != 0) {
        missed(event.wd);
      } else if (event.len > 0) {
        came(event.wd, std::string_view(name, ::strnlen(name, event.len)));
      }
    }
  }
}

#else

DirectoryWatch::~DirectoryWatch() = default;

std::optional<int> DirectoryWatch::Watch(const std::string&) {
  return std::nullopt;
}

void DirectoryWatch::Stop(int) {}

void DirectoryWatch::Drain(const std::function<void(int, std::string_view)>&,
                           const std::function<void(int)>&) {}

#endif

}  // namespace relicor
