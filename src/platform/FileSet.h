#pragma once
// A set of files of one directory replaced as one (the published pages). Each new file is written
// whole under a temporary name first; then a small journal in the directory lists the set, the
// files are renamed into place, and the journal goes. A run killed before its journal stands
// leaves only temporary files of a dead process (the old set stands whole); a run killed after it
// leaves the journal, and FinishFileSet, run by the next command that locks the directory, renames
// the rest into place: one whole set stands, never a mix of two runs.

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Result.h"

namespace relicor {

inline constexpr std::string_view kFileSetJournalName = "PUBLISH.JNL";

// One file of a set: its name in the set's directory and the name of its temporary file there.
struct FileSetEntry {
  std::string name;
  std::string temporary;
};

// The journal text: a header line, one line per file ("name" TAB "temporary name"), an end line.
// Parse gives nothing for a text that is not a whole journal of names in one directory (a name
// with a path separator or a control character, a temporary name that is not one of the file's
// own temporary names, a name twice).
std::string FileSetJournalText(const std::vector<FileSetEntry>& entries);
std::optional<std::vector<FileSetEntry>> ParseFileSetJournal(std::string_view text);

class FileSetWriter {
 public:
  // A set in `dir`.
  explicit FileSetWriter(std::string dir);
  // Removes the temporary files of a set that was not committed.
  ~FileSetWriter();
  FileSetWriter(const FileSetWriter&) = delete;
  FileSetWriter& operator=(const FileSetWriter&) = delete;

  // Adds the file `path` (in the set's directory) with `content`, written under a temporary name.
  Status AddFile(const std::string& path, std::string_view content);
  // Adds the file an AtomicFileWriter has written so far (it is flushed and closed here; the set
  // takes its temporary file over). May be called from another thread than the rest.
  Status Add(AtomicFileWriter& writer);

  // Journals the set and renames every file into place; the journal is removed once the set stands.
  // An error names the file: before the journal stands the old set stays whole, after it the next
  // command finishes the set.
  Status Commit();

  std::size_t size() const;

 private:
  std::string dir_;
  mutable std::mutex mutex_;
  std::vector<FileSetEntry> entries_;
  bool journaled_ = false;
};

// Finishes the set a killed run journaled in `dir`, then removes the journal. Each line of the
// result says what was finished; none when there was no journal. A journal that cannot be read
// or is not whole, or a file that cannot be put in place, is an error naming it; the journal then
// stays for the next try.
Result<std::vector<std::string>> FinishFileSet(const std::string& dir);

}  // namespace relicor
