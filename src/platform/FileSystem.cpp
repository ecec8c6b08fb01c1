#include "platform/FileSystem.h"

#include <dirent.h>
#include <stdio.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "platform/Clock.h"
#include "text/Path.h"

namespace relicor {

namespace {

Error FileError(std::string_view operation, const std::string& path, int err) {
  return MakeError(std::string(operation) + " " + path + ": " + SystemErrorText(err));
}

// Closes a descriptor when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

Status WriteAll(int fd, std::string_view content, const std::string& path) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FileError("cannot write", path, errno);
    }
    done += static_cast<std::size_t>(n);
  }
  return {};
}

}  // namespace

std::string SystemErrorText(int err) { return std::strerror(err); }

Result<std::string> ReadFileHead(const std::string& path, std::size_t maxBytes) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return FileError("cannot open", path, errno);
  std::string data(maxBytes, '\0');
  std::size_t done = 0;
  while (done < maxBytes) {
    const ssize_t n = ::read(fd.get(), data.data() + done, maxBytes - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FileError("cannot read", path, errno);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  data.resize(done);
  return data;
}

Result<FileHead> ReadFileHeadAndTime(const std::string& path, std::size_t maxBytes) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return FileError("cannot open", path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return FileError("cannot read the date of", path, errno);
  if (S_ISDIR(st.st_mode)) return FileError("cannot read", path, EISDIR);
  FileHead head;
  head.modified = LocalDateTimeFromUnix(static_cast<double>(st.st_mtim.tv_sec) + st.st_mtim.tv_nsec / 1e9);
  head.data.resize(maxBytes);
  std::size_t done = 0;
  while (done < maxBytes) {
    const ssize_t n = ::read(fd.get(), head.data.data() + done, maxBytes - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FileError("cannot read", path, errno);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  head.data.resize(done);
  return head;
}

namespace {

// Reads an open file to its end.
Result<std::string> ReadToEnd(int fd, const std::string& path) {
  std::string data;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FileError("cannot read", path, errno);
    }
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  return data;
}

}  // namespace

Result<std::string> ReadWholeFile(const std::string& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return FileError("cannot open", path, errno);
  return ReadToEnd(fd.get(), path);
}

Result<std::optional<std::string>> ReadWholeFileIfPresent(const std::string& path) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    // The open itself tells a missing file (or directory on the way) from one that cannot be read.
    if (errno == ENOENT || errno == ENOTDIR) return std::optional<std::string>();
    return FileError("cannot open", path, errno);
  }
  auto data = ReadToEnd(fd.get(), path);
  if (!data) return MakeError(data.error());
  return std::optional<std::string>(std::move(*data));
}

Result<DateTime> FileModificationTime(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return FileError("cannot read the date of", path, errno);
  return LocalDateTimeFromUnix(static_cast<double>(st.st_mtim.tv_sec) + st.st_mtim.tv_nsec / 1e9);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {}

AtomicFileWriter::~AtomicFileWriter() { Abort(); }

Status AtomicFileWriter::Open() {
  Abort();
  static thread_local std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    temp_ = path_ + ".tmp" + std::to_string(random() % 1000000);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0 && errno != EEXIST) {
      const int err = errno;
      temp_.clear();
      return FileError("cannot write", path_, err);
    }
  }
  if (fd_ < 0) {
    temp_.clear();
    return FileError("cannot write", path_, EEXIST);
  }
  // Keep the permissions of the file being replaced.
  struct stat old {};
  if (::stat(path_.c_str(), &old) == 0) ::fchmod(fd_, old.st_mode & 07777);
  return {};
}

Status AtomicFileWriter::Write(std::string_view content) {
  if (fd_ < 0) return FileError("cannot write", path_, EBADF);
  return WriteAll(fd_, content, path_);
}

Status AtomicFileWriter::Commit() {
  if (fd_ < 0) return FileError("cannot write", path_, EBADF);
  if (::fsync(fd_) != 0) {
    const int err = errno;
    Abort();
    return FileError("cannot write", path_, err);
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    const int err = errno;
    Abort();
    return FileError("cannot write", path_, err);
  }
  if (::rename(temp_.c_str(), path_.c_str()) != 0) {
    const int err = errno;
    Abort();
    return FileError("cannot replace", path_, err);
  }
  temp_.clear();
  return {};
}

void AtomicFileWriter::Abort() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

Status AtomicReplaceFile(const std::string& path, std::string_view content) {
  AtomicFileWriter writer(path);
  if (auto opened = writer.Open(); !opened) return opened;
  if (auto written = writer.Write(content); !written) return written;
  return writer.Commit();
}

Status AppendToFile(const std::string& path, std::string_view content) {
  Fd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (fd.get() < 0) return FileError("cannot open", path, errno);
  if (auto written = WriteAll(fd.get(), content, path); !written) return written;
  if (::close(fd.release()) != 0) return FileError("cannot write", path, errno);
  return {};
}

namespace {

// Copies `from` to a new file `to` (never replacing one), with the source's permissions and
// modification time, then removes `from`. For moves between file systems.
Status CopyThenRemove(const std::string& from, const std::string& to) {
  Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return FileError("cannot move", from, errno);
  struct stat st {};
  if (::fstat(in.get(), &st) != 0) return FileError("cannot move", from, errno);
  Fd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777));
  if (out.get() < 0) {
    if (errno == EEXIST) return MakeError("cannot move " + from + " to " + to + ": the target exists");
    return FileError("cannot move", from + " to " + to, errno);
  }
  auto undo = [&](int err) {
    ::unlink(to.c_str());
    return FileError("cannot move", from + " to " + to, err);
  };
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return undo(errno);
    }
    if (n == 0) break;
    if (auto written = WriteAll(out.get(), std::string_view(buffer, static_cast<std::size_t>(n)), to); !written) {
      return undo(EIO);
    }
  }
  const timespec times[2] = {st.st_atim, st.st_mtim};
  ::futimens(out.get(), times);
  if (::fsync(out.get()) != 0) return undo(errno);
  if (::close(out.release()) != 0) return undo(errno);
  if (::unlink(from.c_str()) != 0) return undo(errno);
  return {};
}

}  // namespace

Status MoveFileNoReplace(const std::string& from, const std::string& to) {
  // An atomic rename that fails when the target exists.
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
  int err = errno;
  if (err == EEXIST) return MakeError("cannot move " + from + " to " + to + ": the target exists");
  if (err == EINVAL || err == ENOSYS || err == ENOTSUP) {
    // File systems without RENAME_NOREPLACE: link + unlink never replaces a target either.
    if (::link(from.c_str(), to.c_str()) == 0) {
      if (::unlink(from.c_str()) != 0) {
        err = errno;
        ::unlink(to.c_str());
        return FileError("cannot move", from, err);
      }
      return {};
    }
    err = errno;
    if (err == EEXIST) return MakeError("cannot move " + from + " to " + to + ": the target exists");
  }
  if (err == EXDEV) return CopyThenRemove(from, to);
  if (err == ENOENT && !FileExists(from)) return FileError("cannot move", from, err);
  return FileError("cannot move", from + " to " + to, err);
}

Status RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return FileError("cannot delete", path, errno);
  return {};
}

Result<std::vector<DirEntry>> ListDirectory(const std::string& dir) {
  DIR* handle = ::opendir(dir.c_str());
  if (handle == nullptr) return FileError("cannot read the directory", dir, errno);
  std::vector<DirEntry> entries;
  errno = 0;
  while (dirent* entry = ::readdir(handle)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    DirEntry e;
    e.name = name;
    e.isHidden = name.front() == '.';
    bool isDir = entry->d_type == DT_DIR;
    e.isSymlink = entry->d_type == DT_LNK;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat st {};
      isDir = ::stat(JoinPath(dir, name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      if (entry->d_type == DT_UNKNOWN) {
        e.isSymlink = ::lstat(JoinPath(dir, name).c_str(), &st) == 0 && S_ISLNK(st.st_mode);
      }
    }
    e.isDirectory = isDir;
    entries.push_back(std::move(e));
  }
  ::closedir(handle);
  return entries;
}

std::string ExecutablePath() {
  std::string buffer(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0) return {};
  buffer.resize(static_cast<std::size_t>(n));
  return buffer;
}

}  // namespace relicor
