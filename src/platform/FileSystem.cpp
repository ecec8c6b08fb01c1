#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <random>
#include <utility>

#include "platform/Clock.h"
#include "platform/FaultInjection.h"
#include "platform/FileSet.h"
#include "text/Path.h"

namespace relicor {

namespace {

using faults::FileOp;

Error FileError(std::string_view operation, const std::string& path, int err) {
  return Error{ErrorKind::kOther, path, std::string(operation), err,
               std::string(operation) + " " + path + ": " + SystemErrorText(err)};
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

// The system calls, each with the test seam in front of it. On failure errno holds the reason.
int SysOpen(const std::string& path, int flags, mode_t mode = 0) {
  const bool writing = (flags & (O_WRONLY | O_RDWR | O_CREAT)) != 0;
  if (const int err = faults::Check(writing ? FileOp::kOpen : FileOp::kOpenRead, path)) {
    errno = err;
    return -1;
  }
  return ::open(path.c_str(), flags | O_CLOEXEC, mode);
}

// Opens `path`, from `in` when the file is directly in that directory.
int SysOpenIn(const std::string& path, int flags, const DirectoryHandle* in) {
  const char* name = in != nullptr ? in->NameIn(path) : nullptr;
  if (name == nullptr) return SysOpen(path, flags);
  if (const int err = faults::Check(FileOp::kOpenRead, path)) {
    errno = err;
    return -1;
  }
  return ::openat(in->fd(), name, flags | O_CLOEXEC);
}

int SysFsync(int fd, const std::string& path) {
  if (const int err = faults::Check(FileOp::kFsync, path)) {
    errno = err;
    return -1;
  }
  return ::fsync(fd);
}

int SysRenameNoReplace(const std::string& from, const std::string& to) {
  if (const int err = faults::Check(FileOp::kRename, from)) {
    errno = err;
    return -1;
  }
  return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
}

int SysRename(const std::string& from, const std::string& to) {
  if (const int err = faults::Check(FileOp::kRename, to)) {
    errno = err;
    return -1;
  }
  return ::rename(from.c_str(), to.c_str());
}

int SysLink(const std::string& from, const std::string& to) {
  if (const int err = faults::Check(FileOp::kRename, from)) {
    errno = err;
    return -1;
  }
  return ::link(from.c_str(), to.c_str());
}

int SysUnlink(const std::string& path) {
  if (const int err = faults::Check(FileOp::kUnlink, path)) {
    errno = err;
    return -1;
  }
  return ::unlink(path.c_str());
}

// Writes everything; 0 or the errno of the failed write.
int WriteAllErrno(int fd, std::string_view content, const std::string& path) {
  std::size_t done = 0;
  while (done < content.size()) {
    if (const int err = faults::Check(FileOp::kWrite, path)) return err;
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

std::string DirectoryOf(const std::string& path) {
  const std::string_view dir = DirectoryPart(path);
  if (dir.empty()) return path.find(kPathSeparator) == 0 ? std::string(1, kPathSeparator) : std::string(".");
  return std::string(dir);
}

// Why an open that would not follow a link failed.
Error OpenNoFollowError(const std::string& path, int err) {
  if (err == ELOOP && IsSymlink(path)) return MakeError(path + " is a symbolic link: not followed");
  return FileError("cannot open", path, err);
}

Error NotRegularError(const std::string& path) {
  return MakeError("cannot read " + path + ": not a regular file");
}

Error TooLargeError(const std::string& path, std::size_t maxBytes) {
  return MakeError(path + " holds more than " + std::to_string(maxBytes) + " bytes");
}

// The stamp of an open file's status.
FileStamp StampOf(const struct stat& st) {
  return MakeFileStamp(static_cast<std::uint64_t>(st.st_size), st.st_mtim.tv_sec, st.st_mtim.tv_nsec,
                       static_cast<std::uint64_t>(st.st_ino), static_cast<std::uint64_t>(st.st_dev));
}

// Opens a file for reading without waiting and makes sure it is a regular file.
Result<int> OpenRegularForReading(const std::string& path, int extraFlags = 0) {
  Fd fd(SysOpen(path, O_RDONLY | O_NONBLOCK | extraFlags));
  if (fd.get() < 0) {
    if ((extraFlags & O_NOFOLLOW) != 0) return OpenNoFollowError(path, errno);
    return FileError("cannot open", path, errno);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return FileError("cannot read", path, errno);
  if (!S_ISREG(st.st_mode)) return MakeError("cannot read " + path + ": not a regular file");
  return fd.release();
}

}  // namespace

std::string SystemErrorText(int err) {
  return std::strerror(err);
}

Result<std::string> ReadFileHead(const std::string& path, std::size_t maxBytes) {
  auto opened = OpenRegularForReading(path, O_NOFOLLOW);
  if (!opened) return opened.failure();
  Fd fd(*opened);
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

DirectoryHandle::DirectoryHandle(std::string dir) : dir_(std::move(dir)) {
  if (!dir_.empty() && dir_.back() == kPathSeparator)
    fd_ = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
}

DirectoryHandle::~DirectoryHandle() {
  if (fd_ >= 0) ::close(fd_);
}

const char* DirectoryHandle::NameIn(const std::string& path) const {
  if (fd_ < 0 || path.size() <= dir_.size() || path.compare(0, dir_.size(), dir_) != 0) return nullptr;
  if (path.find(kPathSeparator, dir_.size()) != std::string::npos) return nullptr;
  return path.c_str() + dir_.size();
}

Result<FileHead> ReadFileHeadAndTime(const std::string& path, std::size_t maxBytes,
                                     const DirectoryHandle* in) {
  Fd fd(SysOpenIn(path, O_RDONLY | O_NONBLOCK | O_NOFOLLOW, in));
  if (fd.get() < 0) return OpenNoFollowError(path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return FileError("cannot read the date of", path, errno);
  if (S_ISDIR(st.st_mode)) return FileError("cannot read", path, EISDIR);
  if (!S_ISREG(st.st_mode)) return MakeError("cannot read " + path + ": not a regular file");
  FileHead head;
  head.modified = LocalDateTimeFromUnix(static_cast<double>(st.st_mtim.tv_sec) + st.st_mtim.tv_nsec / 1e9);
  head.stamp = StampOf(st);
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

Result<std::string> ReadFileStart(const std::string& path, std::size_t size, const DirectoryHandle* in) {
  Fd fd(SysOpenIn(path, O_RDONLY | O_NONBLOCK | O_NOFOLLOW, in));
  if (fd.get() < 0) return OpenNoFollowError(path, errno);
  // One byte more than wanted: a regular file gives all it holds up to that in one read.
  std::string data(size + 1, '\0');
  ssize_t n = ::read(fd.get(), data.data(), data.size());
  const int readError = n < 0 ? errno : 0;
  if (n != static_cast<ssize_t>(size)) {
    // Anything but exactly `size` bytes: a short or a longer file, or something that is no
    // regular file (a directory fails the read, a FIFO or a device gives nothing or goes on).
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return FileError("cannot read", path, errno);
    if (S_ISDIR(st.st_mode)) return FileError("cannot read", path, EISDIR);
    if (!S_ISREG(st.st_mode)) return NotRegularError(path);
    if (n < 0 && readError != EINTR) return FileError("cannot read", path, readError);
    std::size_t done = n > 0 ? static_cast<std::size_t>(n) : 0;
    while (done < size) {
      n = ::read(fd.get(), data.data() + done, size - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return FileError("cannot read", path, errno);
      }
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    data.resize(std::min(done, size));
    return data;
  }
  data.resize(size);
  return data;
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
  auto opened = OpenRegularForReading(path);
  if (!opened) return opened.failure();
  Fd fd(*opened);
  return ReadToEnd(fd.get(), path);
}

Result<std::optional<std::string>> ReadWholeFileIfPresent(const std::string& path) {
  Fd fd(SysOpen(path, O_RDONLY | O_NONBLOCK));
  if (fd.get() < 0) {
    // The open itself tells a missing file (or directory on the way) from one that cannot be read.
    if (errno == ENOENT || errno == ENOTDIR) return std::optional<std::string>();
    return FileError("cannot open", path, errno);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return FileError("cannot read", path, errno);
  if (!S_ISREG(st.st_mode)) return MakeError("cannot read " + path + ": not a regular file");
  auto data = ReadToEnd(fd.get(), path);
  if (!data) return data.failure();
  return std::optional<std::string>(std::move(*data));
}

namespace {

// ReadSmallFileNoFollow and ReadSmallFileAndStamp: with `stamp`, the open file's status is asked
// whatever the caller knows, and gives the stamp too.
Result<std::optional<std::string>> ReadSmall(const std::string& path, std::size_t maxBytes, KnownType known,
                                             FileStamp* stamp, const DirectoryHandle* in) {
  Fd fd(SysOpenIn(path, O_RDONLY | O_NONBLOCK | O_NOFOLLOW, in));
  if (fd.get() < 0) {
    const int err = errno;
    if (err == ENOENT || err == ENOTDIR) {
      if (stamp != nullptr) *stamp = kNoFileStamp;
      return std::optional<std::string>();
    }
    // What is there and could not be opened (a link, say) is looked at itself.
    if (stamp != nullptr) *stamp = StampOfFile(path);
    return OpenNoFollowError(path, err);
  }
  // How much the first read asks for: one byte more than the file holds, so that a file read
  // whole ends with a short read; without its size, a small block.
  std::size_t ask = std::min<std::size_t>(maxBytes, std::size_t{16} * 1024) + 1;
  if (known == KnownType::kUnknown || stamp != nullptr) {
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
      const int err = errno;
      if (stamp != nullptr) *stamp = kUnknownFileStamp;
      return FileError("cannot read", path, err);
    }
    if (stamp != nullptr) *stamp = StampOf(st);
    if (!S_ISREG(st.st_mode)) return NotRegularError(path);
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) return TooLargeError(path, maxBytes);
    ask = static_cast<std::size_t>(st.st_size) + 1;
  }
  std::string data;
  // A read that fits goes into this buffer and only what came is copied: a string grown to take
  // the read would first fill all of it with zeros, 16 KiB for a sidecar of fifty bytes.
  std::array<char, std::size_t{16} * 1024 + 1> chunk;
  for (;;) {
    // Never more than one byte past the limit: that byte says the file is too large.
    const std::size_t room = std::min(ask, maxBytes + 1 - data.size());
    const std::size_t had = data.size();
    const bool inChunk = room <= chunk.size();
    if (!inChunk) data.resize(had + room);
    const ssize_t n = ::read(fd.get(), inChunk ? chunk.data() : data.data() + had, room);
    if (n < 0) {
      const int err = errno;
      data.resize(had);
      if (err == EINTR) continue;
      if (err == EISDIR) return NotRegularError(path);
      return FileError("cannot read", path, err);
    }
    if (inChunk)
      data.append(chunk.data(), static_cast<std::size_t>(n));
    else
      data.resize(had + static_cast<std::size_t>(n));
    // A file that grew while it was read is judged by what was read.
    if (data.size() > maxBytes) return TooLargeError(path, maxBytes);
    // A regular file gives less than was asked for only at its end.
    if (static_cast<std::size_t>(n) < room) break;
    ask = std::max<std::size_t>(ask, std::size_t{64} * 1024);
  }
  return std::optional<std::string>(std::move(data));
}

}  // namespace

Result<std::optional<std::string>> ReadSmallFileNoFollow(const std::string& path, std::size_t maxBytes,
                                                         KnownType known, const DirectoryHandle* in) {
  return ReadSmall(path, maxBytes, known, nullptr, in);
}

Result<std::optional<std::string>> ReadSmallFileAndStamp(const std::string& path, std::size_t maxBytes,
                                                         FileStamp& stamp, const DirectoryHandle* in) {
  return ReadSmall(path, maxBytes, KnownType::kUnknown, &stamp, in);
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

bool PathOccupied(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

bool IsSymlink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string TemporaryFileName(const std::string& target) {
  static thread_local std::mt19937 random{std::random_device{}()};
  std::string digits = std::to_string(random() % 1000000);
  digits.insert(0, 6 - digits.size(), '0');
  return target + ".tmp-" + std::to_string(::getpid()) + "-" + digits;
}

namespace {

// The process id of a temporary file name, or 0 when the name is not one of ours. The sidecar of
// a temporary item file (its last three characters "IT0") counts as one of ours too.
pid_t TemporaryFileOwner(std::string_view name) {
  // Every such name ends in a dash and six characters: a quick no for the names of a pool.
  if (name.size() < 7 || name[name.size() - 7] != '-') return 0;
  constexpr std::string_view kMark = ".tmp-";
  const std::size_t mark = name.rfind(kMark);
  if (mark == std::string_view::npos || mark == 0) return 0;
  std::string_view tail = name.substr(mark + kMark.size());
  const std::size_t dash = tail.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash > 10 || tail.size() - dash - 1 != 6) return 0;
  if (tail.ends_with("IT0")) tail.remove_suffix(3);
  long long pid = 0;
  for (std::size_t i = 0; i < tail.size(); ++i) {
    if (i == dash) continue;
    if (tail[i] < '0' || tail[i] > '9') return 0;
    if (i < dash) pid = pid * 10 + (tail[i] - '0');
  }
  return pid > 0 && pid < (1LL << 31) ? static_cast<pid_t>(pid) : 0;
}

}  // namespace

bool IsTemporaryFileNameOf(std::string_view name, std::string_view target) {
  return name.size() > target.size() && name.substr(0, target.size()) == target &&
         name.rfind(".tmp-") == target.size() && TemporaryFileOwner(name) != 0;
}

bool IsTemporaryFileName(std::string_view name) {
  return TemporaryFileOwner(name) != 0;
}

bool IsStaleTemporaryFileName(std::string_view name) {
  const pid_t owner = TemporaryFileOwner(name);
  if (owner == 0 || owner == ::getpid()) return false;
  return ::kill(owner, 0) != 0 && errno == ESRCH;
}

std::vector<std::string> RemoveStaleTemporaryFiles(const std::string& dir,
                                                   const std::vector<std::string>& names) {
  std::vector<std::string> removed;
  bool journalLooked = false;
  for (const std::string& name : names) {
    if (!IsStaleTemporaryFileName(name)) continue;
    // The files of a set being put in place are the journal's, until it is finished.
    if (!journalLooked && PathOccupied(JoinPath(dir, kFileSetJournalName))) return removed;
    journalLooked = true;
    const std::string path = JoinPath(dir, name);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (SysUnlink(path) == 0) removed.push_back(path);
  }
  return removed;
}

Status SyncDirectory(const std::string& dir) {
  Fd fd(SysOpen(dir.empty() ? std::string(".") : dir, O_RDONLY | O_DIRECTORY));
  if (fd.get() < 0) return FileError("cannot flush the directory", dir, errno);
  if (SysFsync(fd.get(), dir) != 0) {
    // Some file systems cannot flush a directory at all; their renames are as safe as they get.
    if (errno == EINVAL) return {};
    return FileError("cannot flush the directory", dir, errno);
  }
  return {};
}

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {}

AtomicFileWriter::~AtomicFileWriter() {
  Abort();
}

Status AtomicFileWriter::Open() {
  Abort();
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    temp_ = TemporaryFileName(path_);
    fd_ = SysOpen(temp_, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0644);
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
  // Keep the permissions of the file being replaced (a link is replaced, not followed).
  struct stat old {};
  if (::lstat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd_, old.st_mode & 07777);
  return {};
}

namespace {

// Written this far since the last start, the file so far is started on its way to the disk (see
// Write). Each start costs the writing thread a call into the system that hands the pages to the
// disk: in small pieces that cost more than the flush at the end saves.
constexpr std::size_t kWriteBehindBytes = std::size_t{8} << 20;

}  // namespace

Status AtomicFileWriter::Write(std::string_view content) {
  if (fd_ < 0) return FileError("cannot write", path_, EBADF);
  if (const int err = WriteAllErrno(fd_, content, path_)) {
    Abort();
    return FileError("cannot write", path_, err);
  }
#if defined(__linux__)
  // A large file written piece by piece goes on to the disk while the rest is made, so that the
  // flush of the commit waits only for the last pieces. A hint: the flush tells every failure.
  notStarted_ += content.size();
  if (notStarted_ >= kWriteBehindBytes) {
    (void)::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
    notStarted_ = 0;
  }
#endif
  return {};
}

Status AtomicFileWriter::Commit() {
  if (fd_ < 0) return FileError("cannot write", path_, EBADF);
  if (SysFsync(fd_, path_) != 0) {
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
  if (SysRename(temp_, path_) != 0) {
    const int err = errno;
    Abort();
    return FileError("cannot replace", path_, err);
  }
  temp_.clear();
  // The rename is on the disk only when the directory is.
  return SyncDirectory(DirectoryOf(path_));
}

Result<std::string> AtomicFileWriter::Stage() {
  if (fd_ < 0) return FileError("cannot write", path_, EBADF);
  if (SysFsync(fd_, path_) != 0) {
    const int err = errno;
    Abort();
    return FileError("cannot write", path_, err);
  }
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) {
    const int err = errno;
    Abort();
    return FileError("cannot write", path_, err);
  }
  return std::exchange(temp_, std::string());
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

AppendingFile::~AppendingFile() {
  Close();
}

Status AppendingFile::Open(const std::string& path) {
  Close();
  Fd fd(SysOpen(path, O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK));
  if (fd.get() < 0) return FileError("cannot open", path, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return FileError("cannot write", path, errno);
  if (!S_ISREG(st.st_mode)) return MakeError("cannot write " + path + ": not a regular file");
  path_ = path;
  fd_ = fd.release();
  return {};
}

Status AppendingFile::Write(std::string_view content) {
  if (fd_ < 0) return FileError("cannot write", path_, EBADF);
  if (const int err = WriteAllErrno(fd_, content, path_)) return FileError("cannot write", path_, err);
  return {};
}

Status AppendingFile::Flush() {
  if (fd_ < 0) return FileError("cannot write", path_, EBADF);
  if (const int err = faults::Check(FileOp::kFsync, path_)) return FileError("cannot write", path_, err);
  if (::fdatasync(fd_) != 0) return FileError("cannot write", path_, errno);
  return {};
}

Status AppendingFile::CutAt(std::uint64_t size) {
  if (fd_ < 0) return FileError("cannot write", path_, EBADF);
  if (const int err = faults::Check(FileOp::kWrite, path_)) return FileError("cannot write", path_, err);
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return FileError("cannot write", path_, errno);
  return {};
}

void AppendingFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

Status AppendToFile(const std::string& path, std::string_view content) {
  constexpr int kFlags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK;
  bool created = false;
  int raw = SysOpen(path, kFlags);
  if (raw < 0 && errno == ENOENT) {
    raw = SysOpen(path, kFlags | O_CREAT | O_EXCL, 0644);
    created = raw >= 0;
    if (raw < 0 && errno == EEXIST) raw = SysOpen(path, kFlags);
  }
  Fd fd(raw);
  if (fd.get() < 0) {
    const int err = errno;
    if (err == ELOOP && IsSymlink(path))
      return MakeError("cannot write " + path + ": a symbolic link, not followed");
    return FileError("cannot open", path, err);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return FileError("cannot write", path, errno);
  if (!S_ISREG(st.st_mode)) return MakeError("cannot write " + path + ": not a regular file");
  int err = WriteAllErrno(fd.get(), content, path);
  if (err == 0 && ::close(fd.release()) != 0) err = errno;
  if (err != 0) {
    // A file this append made holds nothing worth keeping.
    if (created) ::unlink(path.c_str());
    return FileError("cannot write", path, err);
  }
  return {};
}

namespace {

Error TargetExists(const std::string& from, const std::string& to) {
  return Error{ErrorKind::kTargetExists, to, "cannot move", EEXIST,
               "cannot move " + from + " to " + to + ": the target exists"};
}

// Puts `temp` in place as `to`, never replacing a file there.
int RenameNoReplace(const std::string& temp, const std::string& to) {
  if (SysRenameNoReplace(temp, to) == 0) return 0;
  int err = errno;
  if (err != EINVAL && err != ENOSYS && err != ENOTSUP) return err;
  if (SysLink(temp, to) != 0) return errno;
  SysUnlink(temp);
  return 0;
}

// Copies `from` to a new file `to` (never replacing one), with the source's permissions and
// modification time, then removes `from`. For moves between file systems. The copy is made under a
// temporary name beside `to` and flushed before it takes the name, so `to` is never half a file.
Status CopyThenRemove(const std::string& from, const std::string& to) {
  auto opened = OpenRegularForReading(from);
  if (!opened) return opened.failure();
  Fd in(*opened);
  struct stat st {};
  if (::fstat(in.get(), &st) != 0) return FileError("cannot move", from, errno);
  if (PathOccupied(to)) return TargetExists(from, to);
  const std::string temp = TemporaryFileName(to);
  Fd out(SysOpen(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, st.st_mode & 07777));
  if (out.get() < 0) return FileError("cannot move", from + " to " + to, errno);
  auto undo = [&](int err) {
    ::unlink(temp.c_str());
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
    if (const int err = WriteAllErrno(out.get(), std::string_view(buffer, static_cast<std::size_t>(n)), to)) {
      return undo(err);
    }
  }
  const timespec times[2] = {st.st_atim, st.st_mtim};
  ::futimens(out.get(), times);
  if (SysFsync(out.get(), to) != 0) return undo(errno);
  if (::close(out.release()) != 0) return undo(errno);
  if (const int err = RenameNoReplace(temp, to)) {
    ::unlink(temp.c_str());
    if (err == EEXIST) return TargetExists(from, to);
    return FileError("cannot move", from + " to " + to, err);
  }
  // A copy whose name may not be on the disk is no move: it goes, and the source stays the item.
  if (auto synced = SyncDirectory(DirectoryOf(to)); !synced) {
    ::unlink(to.c_str());
    return Prefixed("cannot move " + from + " to " + to + ": ", synced.failure());
  }
  if (SysUnlink(from) != 0) {
    const int err = errno;
    ::unlink(to.c_str());
    return FileError("cannot move", from, err);
  }
  return {};
}

}  // namespace

Status MoveFileNoReplace(const std::string& from, const std::string& to) {
  // An atomic rename that fails when the target exists.
  if (SysRenameNoReplace(from, to) == 0) return {};
  int err = errno;
  if (err == EEXIST) return TargetExists(from, to);
  if (err == EINVAL || err == ENOSYS || err == ENOTSUP) {
    // File systems without RENAME_NOREPLACE: link + unlink never replaces a target either.
    if (SysLink(from, to) == 0) {
      if (SysUnlink(from) != 0) {
        err = errno;
        ::unlink(to.c_str());
        return FileError("cannot move", from, err);
      }
      return {};
    }
    err = errno;
    if (err == EEXIST) return TargetExists(from, to);
  }
  if (err == EXDEV) return CopyThenRemove(from, to);
  if (err == ENOENT && !PathOccupied(from)) return FileError("cannot move", from, err);
  return FileError("cannot move", from + " to " + to, err);
}

Status RemoveFile(const std::string& path) {
  if (SysUnlink(path) != 0) return FileError("cannot delete", path, errno);
  return {};
}

Status RenameIntoPlace(const std::string& temporary, const std::string& path) {
  if (SysRename(temporary, path) != 0) return FileError("cannot replace", path, errno);
  return {};
}

Result<std::vector<DirEntry>> ListDirectory(const std::string& dir) {
  std::vector<DirEntry> entries;
  if (auto visited = VisitDirectory(dir,
                                    [&entries](const DirEntry& entry) {
                                      entries.push_back(entry);
                                      return true;
                                    });
      !visited) {
    return visited.failure();
  }
  return entries;
}

Status VisitDirectory(const std::string& dir, const std::function<bool(const DirEntry&)>& visit) {
  DIR* handle = ::opendir(dir.c_str());
  if (handle == nullptr) return FileError("cannot read the directory", dir, errno);
  DirEntry e;
  errno = 0;
  while (dirent* entry = ::readdir(handle)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    e.name = name;
    e.isHidden = name.front() == '.';
    bool isDir = entry->d_type == DT_DIR;
    e.isSymlink = entry->d_type == DT_LNK;
    e.isRegular = entry->d_type == DT_REG;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat st {};
      isDir = ::stat(JoinPath(dir, name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      if (entry->d_type == DT_UNKNOWN && ::lstat(JoinPath(dir, name).c_str(), &st) == 0) {
        e.isSymlink = S_ISLNK(st.st_mode);
        e.isRegular = S_ISREG(st.st_mode);
      }
    }
    e.isDirectory = isDir;
    if (!visit(e)) break;
  }
  ::closedir(handle);
  return {};
}

std::string ExecutablePath() {
  std::string buffer(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0) return {};
  buffer.resize(static_cast<std::size_t>(n));
  return buffer;
}

}  // namespace relicor
