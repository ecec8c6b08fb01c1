#pragma once
// The file operations the system uses. Every error text names the file, the operation and the
// operating system's reason.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileStamp.h"
#include "platform/Result.h"
#include "text/DateText.h"

namespace relicor {

// Reads open files without waiting (a FIFO or a device never blocks a command) and only when they
// are regular files: anything else is an error naming the path ("not a regular file").

// Reads at most `maxBytes` bytes from the start of a file (the file is opened for reading only).
// Neither this nor ReadFileHeadAndTime follows a symbolic link in the last component of the path.
Result<std::string> ReadFileHead(const std::string& path, std::size_t maxBytes);

// A directory held open while many of its files are read: a file directly in it is opened by its
// bare name from the open directory, so the system does not walk the directory's own path again
// for every file. When the directory cannot be opened, the reads take the full paths.
class DirectoryHandle {
 public:
  // `dir` ends in the path separator.
  explicit DirectoryHandle(std::string dir);
  ~DirectoryHandle();
  DirectoryHandle(const DirectoryHandle&) = delete;
  DirectoryHandle& operator=(const DirectoryHandle&) = delete;

  // The name of `path` within this directory, or nullptr when `path` is not directly in it (or
  // the directory could not be opened).
  const char* NameIn(const std::string& path) const;
  int fd() const { return fd_; }

 private:
  std::string dir_;
  int fd_ = -1;
};

// Reads at most `maxBytes` bytes from the start of a file and takes its modification time from
// the same open file (one path lookup for both). With `in`, a file directly in that directory is
// opened from it.
struct FileHead {
  std::string data;
  DateTime modified = 0;
  FileStamp stamp = kUnknownFileStamp;  // the open file's identity (see StampOfFile)
};
Result<FileHead> ReadFileHeadAndTime(const std::string& path, std::size_t maxBytes,
                                     const DirectoryHandle* in = nullptr);

// Reads at most `size` bytes from the start of a file, as ReadFileHeadAndTime does but without the
// file's time: one open and one read where the file holds `size` bytes or more (one byte more is
// asked for, so a FIFO or a device that gives more is seen); what it is is asked only when the
// read gives anything else.
Result<std::string> ReadFileStart(const std::string& path, std::size_t size,
                                  const DirectoryHandle* in = nullptr);

// Reads a whole file.
Result<std::string> ReadWholeFile(const std::string& path);

// Reads a whole file that may be missing: no text, and no error, when nothing is at `path` or a
// directory on the way is missing (or is a file). Any other failure is an error naming the file.
Result<std::optional<std::string>> ReadWholeFileIfPresent(const std::string& path);

// What a caller already knows about the file it reads.
enum class KnownType : bool {
  kUnknown = false,  // the read asks the open file what it is
  kRegular = true,   // a listing of its directory, made just before, says it is a regular file
};

// Reads a file of a pool or program directory that may be missing, never through a symbolic link in
// the last component of its path (a directory on the way may be a link): no text when nothing is at
// `path`; an error naming the file when it is a link ("is a symbolic link: not followed"), not a
// regular file, or larger than `maxBytes` ("holds more than N bytes"). The open never waits (a FIFO
// or a device never blocks a command), the limit is found by reading one byte past it, and with
// KnownType::kRegular the file's type is not asked again: one open and one read for a small file.
// With `in`, a file directly in that directory is opened from it.
Result<std::optional<std::string>> ReadSmallFileNoFollow(const std::string& path, std::size_t maxBytes,
                                                         KnownType known = KnownType::kUnknown,
                                                         const DirectoryHandle* in = nullptr);

// As ReadSmallFileNoFollow, and `stamp` is set to the identity of what is at `path`, from the same
// open file that is read: StampOfFile's value (kNoFileStamp when nothing is there; a link's own
// stamp). With `in`, a file directly in that directory is opened from it.
Result<std::optional<std::string>> ReadSmallFileAndStamp(const std::string& path, std::size_t maxBytes,
                                                         FileStamp& stamp,
                                                         const DirectoryHandle* in = nullptr);

// The file's modification time as a local date-time.
Result<DateTime> FileModificationTime(const std::string& path);

bool FileExists(const std::string& path);
// True when anything at all is at `path` (a file, a directory, a link even when it leads nowhere).
bool PathOccupied(const std::string& path);
// True when `path` is a symbolic link.
bool IsSymlink(const std::string& path);
bool DirectoryExists(const std::string& path);

// Replaces (or creates) `path` with `content`: writes a temporary file in the same directory,
// flushes it, renames it into place and flushes the directory, so the old file stays whole if
// anything fails and the new one is on the disk when this returns. A symbolic link at `path` is
// replaced, never followed.
Status AtomicReplaceFile(const std::string& path, std::string_view content);

// Writes a new version of a file in pieces: the pieces go to a temporary file in the same
// directory, and Commit renames it into place. Until then the old file stays as it was; a writer
// that is destroyed without Commit removes its temporary file.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file.
  Status Open();
  Status Write(std::string_view content);
  // Flushes, closes and renames the temporary file into place.
  Status Commit();
  // Flushes and closes the temporary file and hands it over instead (a set of files renamed into
  // place together, FileSetWriter): its path; the writer forgets it. On an error it is removed.
  Result<std::string> Stage();
  // Removes the temporary file; the old file stays.
  void Abort();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string temp_;
  int fd_ = -1;
  std::size_t notStarted_ = 0;  // bytes written since the disk was last asked to start on them
};

// Appends `content` to `path`, creating the file when it does not exist. Never follows a symbolic
// link and never writes into anything but a regular file. A file this call created is removed
// again when the write fails, so a failed append leaves no empty file behind.
Status AppendToFile(const std::string& path, std::string_view content);

// A file that grows at its end while a long run goes on (its log): each Write adds to the end,
// Flush puts what was written on to the disk, CutAt drops everything after the first `size` bytes.
// Never follows a symbolic link and never writes into anything but a regular file.
class AppendingFile {
 public:
  AppendingFile() = default;
  ~AppendingFile();
  AppendingFile(const AppendingFile&) = delete;
  AppendingFile& operator=(const AppendingFile&) = delete;

  // Opens the existing file at `path`.
  Status Open(const std::string& path);
  Status Write(std::string_view content);
  Status Flush();
  Status CutAt(std::uint64_t size);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

 private:
  std::string path_;
  int fd_ = -1;
};

// Moves a file; never replaces an existing file at `to`. Between file systems the file is copied
// to a temporary file beside `to`, flushed, renamed to `to` and only then removed at `from`.
Status MoveFileNoReplace(const std::string& from, const std::string& to);

Status RemoveFile(const std::string& path);

// Renames a finished temporary file into place as `path`, replacing what is there (a link there is
// replaced, not followed). For files put in place together (FileSetWriter); the caller flushes the
// directory.
Status RenameIntoPlace(const std::string& temporary, const std::string& path);

// Flushes a directory's entries (renames, new and removed files) to the disk.
Status SyncDirectory(const std::string& dir);

// Temporary files: "<target>.tmp-<process id>-<6 digits>". A name of that form whose process no
// longer runs on this machine is a leftover of a run that was killed.
std::string TemporaryFileName(const std::string& target);
bool IsStaleTemporaryFileName(std::string_view name);
// True when `name` has the form of a temporary file name, whoever made it.
bool IsTemporaryFileName(std::string_view name);
// True when `name` is a temporary file name of the file named `target` (both bare names).
bool IsTemporaryFileNameOf(std::string_view name, std::string_view target);
// Removes the leftovers among `names` (entries of `dir`); returns the paths removed. Nothing is
// removed while `dir` holds the journal of a set of files (FileSetWriter) that is not finished.
std::vector<std::string> RemoveStaleTemporaryFiles(const std::string& dir,
                                                   const std::vector<std::string>& names);

struct DirEntry {
  std::string name;  // the bare name
  bool isDirectory = false;
  bool isHidden = false;  // name starts with '.'
  bool isSymlink = false;
  bool isRegular = false;  // a regular file (not a link, a directory, a FIFO or a device)
};

// The entries of a directory ("." and ".." left out), in no particular order.
Result<std::vector<DirEntry>> ListDirectory(const std::string& dir);
// The same one at a time, without keeping them, until `visit` returns false.
Status VisitDirectory(const std::string& dir, const std::function<bool(const DirEntry&)>& visit);

// The full path of the running executable.
std::string ExecutablePath();

// The operating system's text for errno value `err`.
std::string SystemErrorText(int err);

}  // namespace relicor
