#include "platform/FileSet.h"

#include <sys/stat.h>

#include <cerrno>
#include <set>
#include <utility>

#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::string_view kHeader = "RELICOR FILE SET 1";
constexpr std::string_view kEnd = "END";
constexpr std::string_view kLineEnd = "\r\n";
// A journal lists a few dozen pages; anything much larger is not one.
constexpr std::size_t kMaxJournalBytes = std::size_t{1} << 20;

// A bare name of a file in the set's directory that a journal line can hold.
bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    if (c == kPathSeparator || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

// The lines of a text whose every line ends with CR LF; nothing when one does not.
std::optional<std::vector<std::string_view>> CrLfLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find(kLineEnd);
    if (end == std::string_view::npos) return std::nullopt;
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + kLineEnd.size());
  }
  return lines;
}

std::string JournalPath(const std::string& dir) {
  return JoinPath(dir, kFileSetJournalName);
}

// Puts every file of a journaled set in place (a temporary file that is gone was put in place
// before), flushes the directory and removes the journal.
Status PutInPlace(const std::string& dir, const std::vector<FileSetEntry>& entries) {
  for (const FileSetEntry& entry : entries) {
    const std::string temporary = JoinPath(dir, entry.temporary);
    if (!PathOccupied(temporary)) continue;
    if (IsSymlink(temporary) || !FileExists(temporary)) {
      return MakeError("cannot put " + temporary + " in place: not a regular file");
    }
    if (auto renamed = RenameIntoPlace(temporary, JoinPath(dir, entry.name)); !renamed) return renamed;
  }
  if (auto synced = SyncDirectory(dir); !synced) return synced;
  if (auto removed = RemoveFile(JournalPath(dir)); !removed) return removed;
  return SyncDirectory(dir);
}

// A file that its temporary file can replace: not a directory (the rename would fail once the set
// is journaled, and every later command with it).
Status CheckPlaceable(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    return MakeError("cannot write " + path + ": " + SystemErrorText(EISDIR));
  }
  return {};
}

}  // namespace

std::string FileSetJournalText(const std::vector<FileSetEntry>& entries) {
  std::string text(kHeader);
  text += kLineEnd;
  for (const FileSetEntry& entry : entries) {
    text += entry.name;
    text += '\t';
    text += entry.temporary;
    text += kLineEnd;
  }
  text += kEnd;
  text += kLineEnd;
  return text;
}

std::optional<std::vector<FileSetEntry>> ParseFileSetJournal(std::string_view text) {
  const auto lines = CrLfLines(text);
  if (!lines || lines->size() < 2 || lines->front() != kHeader || lines->back() != kEnd) return std::nullopt;
  std::vector<FileSetEntry> entries;
  std::set<std::string_view> names;
  for (std::size_t i = 1; i + 1 < lines->size(); ++i) {
    const std::string_view line = (*lines)[i];
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    const std::string_view name = line.substr(0, tab);
    const std::string_view temporary = line.substr(tab + 1);
    if (!IsPlainName(name) || !IsPlainName(temporary) || !IsTemporaryFileNameOf(temporary, name)) {
      return std::nullopt;
    }
    if (!names.insert(name).second) return std::nullopt;
    entries.push_back({std::string(name), std::string(temporary)});
  }
  return entries;
}

FileSetWriter::FileSetWriter(std::string dir) : dir_(std::move(dir)) {}

FileSetWriter::~FileSetWriter() {
  // Once journaled, the temporary files are the journal's: the next command puts them in place.
  if (journaled_) return;
  for (const FileSetEntry& entry : entries_) (void)RemoveFile(JoinPath(dir_, entry.temporary));
}

Status FileSetWriter::AddFile(const std::string& path, std::string_view content) {
  if (auto placeable = CheckPlaceable(path); !placeable) return placeable;
  AtomicFileWriter writer(path);
  if (auto opened = writer.Open(); !opened) return opened;
  if (auto written = writer.Write(content); !written) return written;
  return Add(writer);
}

Status FileSetWriter::Add(AtomicFileWriter& writer) {
  const std::string path = writer.path();
  const std::string name(FileNamePart(path));
  if (DirectoryPart(path) != DirectoryPart(JoinPath(dir_, name)) || !IsPlainName(name)) {
    writer.Abort();
    return MakeError("cannot write " + path + ": not a file name a set in " + dir_ + " can hold");
  }
  if (auto placeable = CheckPlaceable(path); !placeable) {
    writer.Abort();
    return placeable;
  }
  auto temporary = writer.Stage();
  if (!temporary) return temporary.failure();
  const std::lock_guard<std::mutex> lock(mutex_);
  entries_.push_back({name, std::string(FileNamePart(*temporary))});
  return {};
}

Status FileSetWriter::Commit() {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (entries_.empty()) return {};
  if (auto written = AtomicReplaceFile(JournalPath(dir_), FileSetJournalText(entries_)); !written) {
    return written;
  }
  journaled_ = true;
  if (auto placed = PutInPlace(dir_, entries_); !placed) {
    return MakeError(placed.error() + "; " + JournalPath(dir_) + " keeps the rest for the next command");
  }
  return {};
}

std::size_t FileSetWriter::size() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return entries_.size();
}

Result<std::vector<std::string>> FinishFileSet(const std::string& dir) {
  const std::string path = JournalPath(dir);
  auto text = ReadSmallFileNoFollow(path, kMaxJournalBytes);
  if (!text)
    return MakeError(text.error() +
                     "; remove it to go on (the files it names may then be a mix of two runs)");
  if (!*text) return std::vector<std::string>();
  const auto entries = ParseFileSetJournal(**text);
  if (!entries) {
    return MakeError(path +
                     " is not a whole journal of published files; remove it to go on (the files it "
                     "names may then be a mix of two runs)");
  }
  if (auto finished = PutInPlace(dir, *entries); !finished) {
    return MakeError(finished.error() + "; " + path + " keeps the rest for the next command");
  }
  return std::vector<std::string>{"put in place the " + std::to_string(entries->size()) + " files of " + dir +
                                  " that a run which was killed had written"};
}

}  // namespace relicor
