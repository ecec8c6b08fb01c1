#include "pool/MoveJournal.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <map>

#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/Ini.h"
#include "pool/ItemCache.h"
#include "pool/Sidecar.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::string_view kHeader = "RELICOR MOVES 2";
constexpr std::string_view kLegacyHeader = "RELICOR MOVES 1";
constexpr std::string_view kEnd = "END";
// A record is written in pieces of about this size.
constexpr std::size_t kRecordPieceBytes = std::size_t{64} * 1024;
constexpr std::size_t kMaxJournalBytes = std::size_t{64} * 1024 * 1024;

void AppendEscaped(std::string& out, std::string_view text) {
  // Most texts have nothing to escape: they go on whole up to the first byte that is escaped.
  std::size_t plain = 0;
  while (plain < text.size() && text[plain] != '\\' && text[plain] != '\t' && text[plain] != '\r' &&
         text[plain] != '\n') {
    ++plain;
  }
  out.append(text.substr(0, plain));
  for (const char c : text.substr(plain)) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i >= text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::optional<std::uint64_t> ParseNumber(std::string_view text) {
  std::uint64_t value = 0;
  if (text.empty() || (text.size() > 1 && text.front() == '0')) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

// The directory a path names its file in, as the flushes need it ("." for a bare name).
std::string DirectoryOf(const std::string& path) {
  const std::string_view dir = DirectoryPart(path);
  if (dir.empty()) return path.find(kPathSeparator) == 0 ? std::string(1, kPathSeparator) : std::string(".");
  return std::string(dir);
}

// The directory of an absolute path in the journal ("/" for a file in the root).
std::string_view JournalDirectoryOf(std::string_view path) {
  const std::size_t cut = path.rfind(kPathSeparator);
  if (cut == std::string_view::npos) return {};
  return cut == 0 ? path.substr(0, 1) : path.substr(0, cut);
}

std::string JoinName(const std::string& dir, std::string_view name) {
  return dir == std::string(1, kPathSeparator) ? dir + std::string(name) : JoinPath(dir, name);
}

bool SameFile(const std::string& a, const std::string& b) {
  const auto x = IdentityOf(a);
  return x && x == IdentityOf(b);
}

bool SameContent(const std::string& a, const std::string& b) {
  auto x = ReadWholeFile(a);
  auto y = ReadWholeFile(b);
  return x && y && *x == *y;
}

Error Stuck(const std::string& reason) {
  return MakeError(ErrorKind::kJournalStuck, "cannot repair interrupted moves: " + reason);
}

// Brings one file of a recorded move to the place `home` (where its item now is): from `away`
// when it is only there, or by removing `away` when it is a finished copy (never when both names
// are one file). Adds what it did.
Status Settle(const std::string& home, const std::string& away, std::string_view what,
              std::vector<std::string>& repaired) {
  if (!PathOccupied(away)) return {};
  if (!PathOccupied(home)) {
    if (auto moved = MoveFileNoReplace(away, home); !moved) return moved;
    repaired.push_back("moved " + std::string(what) + " " + away + " to " + home);
    return {};
  }
  if (SameFile(home, away)) return {};
  if (SameContent(home, away)) {
    if (auto removed = RemoveFile(away); !removed) return removed;
    repaired.push_back("removed " + away + ", a finished copy of " + home);
    return {};
  }
  repaired.push_back("left " + away + " as it is: " + home + " is another file");
  return {};
}

// Writes a send's recipient and date into the sidecar at `sidecar` (made when missing), keeping
// everything else it holds; nothing when it holds them already.
Status StampSidecar(const std::string& sidecar, const SendStamp& stamp, std::vector<std::string>& repaired) {
  auto text = ReadSidecarText(sidecar);
  if (!text) return text.failure();
  Ini ini = *text ? Ini::Parse(**text) : Ini();
  constexpr std::string_view kSendTo = kSidecarKeys[1];
  constexpr std::string_view kSentAt = kSidecarKeys[6];
  if (ini.Get(kSidecarSection, kSendTo) == stamp.sendTo && ini.Get(kSidecarSection, kSentAt) == stamp.sentAt)
    return {};
  ini.Set(kSidecarSection, kSendTo, stamp.sendTo);
  ini.Set(kSidecarSection, kSentAt, stamp.sentAt);
  if (auto written = AtomicReplaceFile(sidecar, ini.Serialize()); !written) return written;
  repaired.push_back("wrote the recipient and the sending date into " + sidecar + ": the send is finished");
  return {};
}

// Finishes or undoes one recorded move.
Status RecoverMove(const PlannedMove& move, std::vector<std::string>& repaired) {
  const std::string& from = move.from;
  const std::string& to = move.to;
  // Where the item file is now decides where its sidecar belongs.
  bool atFrom = PathOccupied(from);
  const bool atTo = PathOccupied(to);
  if (atFrom && atTo) {
    if (SameFile(from, to)) {
      repaired.push_back("left " + from + " as it is: " + to + " names the same file");
      return {};
    }
    if (SameContent(from, to)) {
      // A copy between file systems was finished but its source not yet removed.
      if (auto removed = RemoveFile(from); !removed) return removed;
      repaired.push_back("removed " + from + ", a finished copy of " + to);
      atFrom = false;
    }
  }
  std::string item;
  std::string sidecarHome;
  std::string sidecarAway;
  if (atTo && !atFrom) {
    item = to;
    sidecarHome = SidecarPath(to);
    sidecarAway = FindSidecarPath(from);
  } else if (atFrom) {
    item = from;
    sidecarHome = FindSidecarPath(from);
    sidecarAway = SidecarPath(to);
  } else {
    repaired.push_back("found the item file neither at " + from + " nor at " + to);
    return {};
  }
  const std::size_t before = repaired.size();
  if (auto settled = Settle(sidecarHome, sidecarAway, "the sidecar", repaired); !settled) return settled;
  if (repaired.size() != before) repaired.back() += " (beside its item " + item + ")";
  // A send whose item arrived gets its recipient; one whose item stayed is as it was.
  if (move.send && item == to) return StampSidecar(sidecarHome, *move.send, repaired);
  return {};
}

// Obeys a journal the caller has checked: every move, then the flushes, then the journal goes.
Result<std::vector<std::string>> Repair(const Journal& journal, const std::string& dir,
                                        const std::string& path) {
  std::vector<std::string> repaired;
  std::set<std::string> touched;
  for (const PlannedMove& move : journal.moves) {
    touched.insert(DirectoryOf(move.from));
    touched.insert(DirectoryOf(move.to));
    if (auto done = RecoverMove(move, repaired); !done) return Stuck(done.error());
  }
  for (const std::string& d : touched) {
    if (auto synced = SyncDirectory(d); !synced) return Stuck(synced.error());
  }
  if (auto removed = RemoveFile(path); !removed) return Stuck(removed.error());
  (void)SyncDirectory(dir);
  return repaired;
}

struct ReadJournal {
  std::optional<std::string> text;  // nothing: no journal
  std::optional<Journal> journal;
};

Result<ReadJournal> ReadJournalFile(const std::string& path) {
  auto text = ReadSmallFileNoFollow(path, kMaxJournalBytes);
  if (!text) {
    return MakeError(ErrorKind::kJournalUnreadable, "cannot repair interrupted moves: " + text.error() +
                                                        "; " + std::string(kJournalHelpText));
  }
  ReadJournal read;
  read.text = std::move(*text);
  if (read.text) read.journal = ParseJournal(*read.text);
  return read;
}

Error NotWhole(const std::string& path) {
  return MakeError(ErrorKind::kJournalUnreadable, "cannot repair interrupted moves: " + path +
                                                      " is not a whole journal; " +
                                                      std::string(kJournalHelpText));
}

std::vector<std::string> Roots(const std::string& dir, const std::string& sentDir) {
  std::vector<std::string> roots;
  for (const std::string* d : {&dir, &sentDir}) {
    if (d != &dir && d->empty()) continue;
    if (auto real = RealDirectory(*d)) roots.push_back(std::move(*real));
  }
  return roots;
}

}  // namespace

namespace {

void AppendDirectoryLine(std::string& text, const JournalDirectory& dir) {
  text += "DIR\t";
  AppendEscaped(text, dir.path);
  text += '\t' + std::to_string(dir.identity.device) + '\t' + std::to_string(dir.identity.inode) + "\r\n";
}

// The line of `move`, whose paths are written as `from` and `to`.
void AppendMoveLine(std::string& text, const SendStamp* send, std::string_view from, std::string_view to) {
  text += send ? "SEND\t" : "MOVE\t";
  AppendEscaped(text, from);
  text += '\t';
  AppendEscaped(text, to);
  if (send) {
    text += '\t';
    AppendEscaped(text, send->sendTo);
    text += '\t';
    AppendEscaped(text, send->sentAt);
  }
  text += "\r\n";
}

}  // namespace

std::string JournalText(const Journal& journal) {
  if (journal.legacy) {
    std::string text(kLegacyHeader);
    text += "\r\n";
    for (const PlannedMove& move : journal.moves) {
      AppendEscaped(text, move.from);
      text += '\t';
      AppendEscaped(text, move.to);
      text += "\r\n";
    }
    return text + std::string(kEnd) + "\r\n";
  }
  std::string text(kHeader);
  text += "\r\n";
  for (const JournalDirectory& dir : journal.directories) AppendDirectoryLine(text, dir);
  for (const PlannedMove& move : journal.moves) {
    AppendMoveLine(text, move.send ? &*move.send : nullptr, move.from, move.to);
  }
  text += kEnd;
  text += "\r\n";
  return text;
}

std::optional<Journal> ParseJournal(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) return std::nullopt;  // every line of a whole journal ends
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (lines.size() < 2 || lines.back() != kEnd) return std::nullopt;
  Journal journal;
  journal.legacy = lines.front() == kLegacyHeader;
  if (!journal.legacy && lines.front() != kHeader) return std::nullopt;
  std::set<std::string> legacyDirs;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    std::vector<std::string_view> fields = Fields(lines[i]);
    if (journal.legacy) {
      // "from" TAB "to"; the directories are those the paths name.
      if (fields.size() != 2) return std::nullopt;
      fields.insert(fields.begin(), "MOVE");
    }
    if (fields[0] == "DIR" && fields.size() == 4) {
      auto path = Unescaped(fields[1]);
      auto device = ParseNumber(fields[2]);
      auto inode = ParseNumber(fields[3]);
      if (!path || path->empty() || !device || !inode) return std::nullopt;
      journal.directories.push_back({std::move(*path), {*device, *inode}});
      continue;
    }
    const bool send = fields[0] == "SEND" && fields.size() == 5;
    if (!send && !(fields[0] == "MOVE" && fields.size() == 3)) return std::nullopt;
    auto from = Unescaped(fields[1]);
    auto to = Unescaped(fields[2]);
    if (!from || !to || from->empty() || to->empty()) return std::nullopt;
    PlannedMove move{std::move(*from), std::move(*to), std::nullopt};
    if (send) {
      auto sendTo = Unescaped(fields[3]);
      auto sentAt = Unescaped(fields[4]);
      if (!sendTo || !sentAt) return std::nullopt;
      move.send = SendStamp{std::move(*sendTo), std::move(*sentAt)};
    }
    if (journal.legacy) {
      for (const std::string* path : {&move.from, &move.to}) {
        const std::string dir(JournalDirectoryOf(*path));
        if (!dir.empty() && legacyDirs.insert(dir).second) journal.directories.push_back({dir, {}});
      }
    }
    journal.moves.push_back(std::move(move));
  }
  return journal;
}

MoveJournal::MoveJournal(const std::string& dir)
    : dir_(dir.empty() ? std::string(".") : dir), path_(JoinPath(dir_, kJournalFileName)) {}

Status MoveJournal::FlushTouched() {
  for (const std::string& dir : touched_) {
    if (auto synced = SyncDirectory(dir); !synced) return synced;
  }
  return {};
}

Status MoveJournal::Record(const std::vector<PlannedMove>& moves) {
  return Record(moves.size(), [&moves](std::size_t i) {
    const PlannedMove& move = moves[i];
    return MovePaths{&move.from, &move.to, move.send ? &*move.send : nullptr};
  });
}

Status MoveJournal::Record(std::size_t count, const std::function<MovePaths(std::size_t)>& moveAt) {
  if (auto flushed = FlushTouched(); !flushed) return flushed;
  touched_.clear();
  // Every path absolute, in its directory without links, whatever the working directory is when
  // the journal is read. The text is written as JournalText writes it, without a copy of the moves:
  // the directories first, then each move with its directory's real path.
  std::vector<JournalDirectory> directories;
  std::map<std::string, std::string, std::less<>> realDirs;
  // The moves come a directory at a time: the answer for the last directory part is kept.
  std::string lastPart;
  const std::string* lastReal = nullptr;
  auto realDirectory = [&](const std::string& path) -> Result<const std::string*> {
    const std::string_view part = DirectoryPart(path);
    if (lastReal != nullptr && !part.empty() && part == lastPart) return lastReal;
    const std::string dir = DirectoryOf(path);
    auto known = realDirs.find(dir);
    if (known == realDirs.end()) {
      auto real = RealDirectory(dir);
      if (!real) return real.failure();
      const auto identity = IdentityOf(*real);
      if (!identity) return MakeError("cannot find the directory " + dir);
      directories.push_back({*real, *identity});
      known = realDirs.emplace(dir, std::move(*real)).first;
    }
    lastPart.assign(part);
    lastReal = &known->second;
    return lastReal;
  };
  for (std::size_t i = 0; i < count; ++i) {
    const MovePaths move = moveAt(i);
    for (const std::string* path : {move.from, move.to}) {
      if (auto real = realDirectory(*path); !real) return real.failure();
    }
  }
  // Written in pieces: a record of many moves is never held whole.
  AtomicFileWriter writer(path_);
  if (auto opened = writer.Open(); !opened) return opened;
  std::string text(kHeader);
  text += "\r\n";
  for (const JournalDirectory& dir : directories) AppendDirectoryLine(text, dir);
  std::string from;
  std::string to;
  for (std::size_t i = 0; i < count; ++i) {
    const MovePaths move = moveAt(i);
    // Every directory was found above.
    from = JoinName(**realDirectory(*move.from), FileNamePart(*move.from));
    to = JoinName(**realDirectory(*move.to), FileNamePart(*move.to));
    AppendMoveLine(text, move.send, from, to);
    if (text.size() >= kRecordPieceBytes) {
      if (auto written = writer.Write(text); !written) return written;
      text.clear();
    }
  }
  text += kEnd;
  text += "\r\n";
  if (auto written = writer.Write(text); !written) return written;
  // The commit flushes the journal and its directory before it returns.
  if (auto committed = writer.Commit(); !committed) return committed;
  recorded_ = true;
  lastPart.clear();
  for (std::size_t i = 0; i < count; ++i) {
    const MovePaths move = moveAt(i);
    for (const std::string* path : {move.from, move.to}) {
      const std::string_view part = DirectoryPart(*path);
      if (part.empty() || part != lastPart) {
        touched_.insert(DirectoryOf(*path));
        lastPart.assign(part);
      }
    }
  }
  return {};
}

Status MoveJournal::Clear() {
  if (!recorded_) return {};
  if (auto flushed = FlushTouched(); !flushed) return flushed;
  if (auto removed = RemoveFile(path_); !removed) return removed;
  recorded_ = false;
  touched_.clear();
  return SyncDirectory(dir_);
}

Status CheckJournal(const Journal& journal, const std::string& journalPath,
                    const std::vector<std::string>* roots) {
  auto refused = [&](const std::string& what) {
    return MakeError(ErrorKind::kJournalRefused, "cannot repair interrupted moves: " + journalPath + " " +
                                                     what + "; nothing was repaired; " +
                                                     std::string(kJournalHelpText));
  };
  std::set<std::string_view> dirs;
  for (const JournalDirectory& dir : journal.directories) {
    if (!IsNormalAbsolutePath(dir.path))
      return refused("names the directory " + dir.path + ", which is no absolute path");
    dirs.insert(dir.path);
    if (roots == nullptr) continue;
    const bool inside = std::any_of(roots->begin(), roots->end(), [&](const std::string& root) {
      return dir.path == root || root == "/" ||
             (dir.path.size() > root.size() && dir.path.compare(0, root.size(), root) == 0 &&
              dir.path[root.size()] == kPathSeparator);
    });
    if (!inside)
      return refused("names " + dir.path +
                     ", which is neither the pool nor the sent directory nor below them");
  }
  std::set<std::string_view> froms;
  std::set<std::string_view> tos;
  for (const PlannedMove& move : journal.moves) {
    for (const std::string* path : {&move.from, &move.to}) {
      if (!IsNormalAbsolutePath(*path) || *path == "/")
        return refused("names " + *path + ", which is no absolute path");
      if (dirs.count(JournalDirectoryOf(*path)) == 0)
        return refused("names " + *path + " outside its directories");
    }
    if (move.from == move.to) return refused("moves " + move.from + " onto itself");
    if (!froms.insert(move.from).second) return refused("moves " + move.from + " twice");
    if (!tos.insert(move.to).second) return refused("moves a file to " + move.to + " twice");
  }
  if (roots == nullptr || journal.legacy) return {};
  // A journal of another copy of these directories (a pool a sync tool copied) names the same
  // paths, but they are other directories now.
  for (const JournalDirectory& dir : journal.directories) {
    const auto identity = IdentityOf(dir.path);
    auto real = RealDirectory(dir.path);
    if (!identity || !real || *real != dir.path || *identity != dir.identity) {
      return MakeError(
          ErrorKind::kJournalForeign,
          "cannot repair interrupted moves: " + journalPath + " was written for " + dir.path +
              ", and that is another directory now (a copy of the pool?); nothing was repaired; " +
              std::string(kJournalHelpText));
    }
  }
  return {};
}

Result<std::vector<std::string>> RecoverMoves(const std::string& dir, const std::string& sentDir) {
  const std::string where = dir.empty() ? std::string(".") : dir;
  const std::string path = JoinPath(where, kJournalFileName);
  auto read = ReadJournalFile(path);
  if (!read) return read.failure();
  if (!read->text) return std::vector<std::string>();
  if (!read->journal) return NotWhole(path);
  const std::vector<std::string> roots = Roots(where, sentDir);
  if (auto checked = CheckJournal(*read->journal, path, &roots); !checked) return checked.failure();
  return Repair(*read->journal, where, path);
}

JournalState InspectJournal(const std::string& dir, const std::string& sentDir) {
  JournalState state;
  const std::string where = dir.empty() ? std::string(".") : dir;
  state.path = JoinPath(where, kJournalFileName);
  auto read = ReadJournalFile(state.path);
  state.present = !read || read->text.has_value();
  if (!read) {
    state.verdict = read.failure();
    return state;
  }
  if (!read->text) return state;
  state.text = *read->text;
  state.journal = std::move(read->journal);
  if (!state.journal) {
    state.verdict = NotWhole(state.path);
    return state;
  }
  const std::vector<std::string> roots = Roots(where, sentDir);
  state.verdict = CheckJournal(*state.journal, state.path, &roots);
  return state;
}

std::vector<std::string> DescribeJournal(const JournalState& state) {
  std::vector<std::string> lines;
  if (!state.present) {
    lines.push_back("no journal: " + state.path + " does not exist");
    return lines;
  }
  lines.push_back("journal " + state.path + ":");
  if (state.journal) {
    for (const JournalDirectory& dir : state.journal->directories) {
      const auto now = IdentityOf(dir.path);
      lines.push_back("  directory " + dir.path +
                      (!now                                            ? " (not there)"
                       : state.journal->legacy || *now == dir.identity ? ""
                                                                       : " (another directory now)"));
    }
    for (const PlannedMove& move : state.journal->moves) {
      std::string line = (move.send ? "  send " : "  move ") + move.from + " -> " + move.to;
      if (PathOccupied(move.to)) {
        line += " (the item is at its new place)";
      } else if (PathOccupied(move.from)) {
        line += " (the item is at its old place)";
      } else {
        line += " (the item is at neither place)";
      }
      lines.push_back(line);
    }
  } else if (!state.text.empty()) {
    lines.push_back("  (not a whole journal; it holds " + std::to_string(state.text.size()) + " bytes)");
  }
  lines.push_back(state.verdict ? "the next command finishes these moves"
                                : "the next command refuses it: " + state.verdict.error());
  return lines;
}

Status DiscardJournal(const std::string& dir) {
  const std::string where = dir.empty() ? std::string(".") : dir;
  const std::string path = JoinPath(where, kJournalFileName);
  if (!PathOccupied(path)) return MakeError("no journal: " + path + " does not exist");
  if (auto removed = RemoveFile(path); !removed) return removed;
  return SyncDirectory(where);
}

Result<std::vector<std::string>> FinishJournal(const std::string& dir) {
  const std::string where = dir.empty() ? std::string(".") : dir;
  const std::string path = JoinPath(where, kJournalFileName);
  auto read = ReadJournalFile(path);
  if (!read) return read.failure();
  if (!read->text) return MakeError("no journal: " + path + " does not exist");
  if (!read->journal) return NotWhole(path);
  if (auto checked = CheckJournal(*read->journal, path, nullptr); !checked) return checked.failure();
  return Repair(*read->journal, where, path);
}

std::vector<std::string> RemoveLeftovers(const std::string& dir,
                                         std::optional<std::vector<DirEntry>>* listing) {
  std::vector<std::string> removed;
  auto entries = ListDirectory(dir);
  if (!entries) return removed;
  // Only names a temporary file of ours can have are looked at more closely.
  std::vector<std::string> names;
  for (const DirEntry& entry : *entries) {
    if (IsStaleTemporaryFileName(entry.name)) names.push_back(entry.name);
  }
  const std::vector<std::string> gone = RemoveStaleTemporaryFiles(dir, names);
  for (const std::string& path : gone)
    removed.push_back("removed " + path + ", left by a run that was killed");
  if (listing != nullptr) {
    if (!gone.empty()) {
      std::erase_if(*entries, [&](const DirEntry& entry) {
        return std::any_of(gone.begin(), gone.end(),
                           [&](const std::string& path) { return path == JoinPath(dir, entry.name); });
      });
    }
    *listing = std::move(*entries);
  }
  return removed;
}

Result<PoolLock> LockPool(const std::string& dir, const PoolLockOptions& options) {
  // A command never works unlocked in a directory that is not there (a mistyped or unmounted pool).
  if (!dir.empty() && !DirectoryExists(dir)) {
    return MakeError(ErrorKind::kNoDirectory, "cannot lock " + dir + ": the directory does not exist",
                     ENOENT);
  }
  PoolLock held;
  auto lock = DirectoryLock::Acquire(dir, options.wait);
  if (lock) {
    held.lock = std::move(*lock);
  } else if (lock.kind() == ErrorKind::kLockFailed && !options.lockRequired) {
    held.warning = lock.error() + "; going on without the lock";
  } else {
    return lock.failure();
  }
  if (dir.empty() || !DirectoryExists(dir)) return held;
  auto published = FinishFileSet(dir);
  if (!published) return published.failure();
  auto repaired = RecoverMoves(dir, options.sentDir);
  if (!repaired) return repaired.failure();
  held.repaired = std::move(*published);
  held.repaired.insert(held.repaired.end(), repaired->begin(), repaired->end());
  if (options.tidy == Tidy::kNo) return held;
  if (options.beforeListing) options.beforeListing();
  for (std::string& line : RemoveLeftovers(dir, &held.listing)) held.repaired.push_back(std::move(line));
  // The sent directory is written under the pool's lock (sends, renames, their copies).
  if (!options.sentDir.empty() && DirectoryExists(options.sentDir) && !SameFile(options.sentDir, dir)) {
    for (std::string& line : RemoveLeftovers(options.sentDir)) held.repaired.push_back(std::move(line));
  }
  return held;
}

Result<PoolLock> LockPool(const std::string& dir, std::chrono::milliseconds wait, Tidy tidy) {
  PoolLockOptions options;
  options.wait = wait;
  options.tidy = tidy;
  return LockPool(dir, options);
}

}  // namespace relicor
