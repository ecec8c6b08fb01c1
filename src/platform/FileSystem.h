#pragma once
// The file operations the system uses. Every error text names the file, the operation and the
// operating system's reason.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "text/DateText.h"

namespace relicor {

// Reads at most `maxBytes` bytes from the start of a file (the file is opened for reading only).
Result<std::string> ReadFileHead(const std::string& path, std::size_t maxBytes);

// Reads at most `maxBytes` bytes from the start of a file and takes its modification time from
// the same open file (one path lookup for both).
struct FileHead {
  std::string data;
  DateTime modified = 0;
};
Result<FileHead> ReadFileHeadAndTime(const std::string& path, std::size_t maxBytes);

// Reads a whole file.
Result<std::string> ReadWholeFile(const std::string& path);

// Reads a whole file that may be missing: no text, and no error, when nothing is at `path` or a
// directory on the way is missing (or is a file). Any other failure is an error naming the file.
Result<std::optional<std::string>> ReadWholeFileIfPresent(const std::string& path);

// The file's modification time as a local date-time.
Result<DateTime> FileModificationTime(const std::string& path);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// Replaces (or creates) `path` with `content`: writes a temporary file in the same directory,
// flushes it and renames it into place, so the old file stays whole if anything fails.
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
  // Removes the temporary file; the old file stays.
  void Abort();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string temp_;
  int fd_ = -1;
};

// Appends `content` to `path`, creating the file when it does not exist.
Status AppendToFile(const std::string& path, std::string_view content);

// Moves a file; never replaces an existing file at `to`.
Status MoveFileNoReplace(const std::string& from, const std::string& to);

Status RemoveFile(const std::string& path);

struct DirEntry {
  std::string name;  // the bare name
  bool isDirectory = false;
  bool isHidden = false;  // name starts with '.'
  bool isSymlink = false;
};

// The entries of a directory ("." and ".." left out), in no particular order.
Result<std::vector<DirEntry>> ListDirectory(const std::string& dir);

// The full path of the running executable.
std::string ExecutablePath();

// The operating system's text for errno value `err`.
std::string SystemErrorText(int err);

}  // namespace relicor
