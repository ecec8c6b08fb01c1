#include "pool/MoveJournal.h"

#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "pool/ItemCache.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::string_view kHeader = "RELICOR MOVES 1";
constexpr std::string_view kEnd = "END";
constexpr std::size_t kMaxJournalBytes = 64 * 1024 * 1024;

void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
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

std::string DirectoryOf(const std::string& path) {
  const std::string_view dir = DirectoryPart(path);
  if (dir.empty()) return path.find(kPathSeparator) == 0 ? std::string(1, kPathSeparator) : std::string(".");
  return std::string(dir);
}

bool SameContent(const std::string& a, const std::string& b) {
  auto x = ReadWholeFile(a);
  auto y = ReadWholeFile(b);
  return x && y && *x == *y;
}

// Brings one file of a recorded move to the place `home` (where its item now is): from `away`
// when it is only there, or by removing `away` when it is a finished copy. Adds what it did.
Status Settle(const std::string& home, const std::string& away, std::string_view what,
              std::vector<std::string>& repaired) {
  if (!PathOccupied(away)) return {};
  if (!PathOccupied(home)) {
    if (auto moved = MoveFileNoReplace(away, home); !moved) return moved;
    repaired.push_back("moved " + std::string(what) + " " + away + " to " + home);
    return {};
  }
  if (SameContent(home, away)) {
    if (auto removed = RemoveFile(away); !removed) return removed;
    repaired.push_back("removed " + away + ", a finished copy of " + home);
    return {};
  }
  repaired.push_back("left " + away + " as it is: " + home + " is another file");
  return {};
}

}  // namespace

std::string JournalText(const std::vector<PlannedMove>& moves) {
  std::string text(kHeader);
  text += "\r\n";
  for (const PlannedMove& move : moves) {
    AppendEscaped(text, move.from);
    text += '\t';
    AppendEscaped(text, move.to);
    text += "\r\n";
  }
  text += kEnd;
  text += "\r\n";
  return text;
}

std::optional<std::vector<PlannedMove>> ParseJournal(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) return std::nullopt;  // every line of a whole journal ends
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (lines.size() < 2 || lines.front() != kHeader || lines.back() != kEnd) return std::nullopt;
  std::vector<PlannedMove> moves;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    const std::size_t tab = lines[i].find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    auto from = Unescaped(lines[i].substr(0, tab));
    auto to = Unescaped(lines[i].substr(tab + 1));
    if (!from || !to || from->empty() || to->empty()) return std::nullopt;
    moves.push_back({std::move(*from), std::move(*to)});
  }
  return moves;
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
  if (auto flushed = FlushTouched(); !flushed) return flushed;
  touched_.clear();
  // The replace flushes the journal and its directory before it returns.
  if (auto written = AtomicReplaceFile(path_, JournalText(moves)); !written) return written;
  recorded_ = true;
  for (const PlannedMove& move : moves) {
    touched_.insert(DirectoryOf(move.from));
    touched_.insert(DirectoryOf(move.to));
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

Result<std::vector<std::string>> RecoverMoves(const std::string& dir) {
  const std::string path = JoinPath(dir.empty() ? "." : dir, kJournalFileName);
  auto text = ReadSmallFileNoFollow(path, kMaxJournalBytes);
  if (!text) return MakeError("cannot repair interrupted moves: " + text.error());
  if (!*text) return std::vector<std::string>();
  auto moves = ParseJournal(**text);
  if (!moves) return MakeError("cannot repair interrupted moves: " + path + " is not a whole journal");

  std::vector<std::string> repaired;
  std::set<std::string> touched;
  for (const PlannedMove& move : *moves) {
    const std::string& from = move.from;
    const std::string& to = move.to;
    touched.insert(DirectoryOf(from));
    touched.insert(DirectoryOf(to));
    // Where the item file is now decides where its sidecar belongs.
    bool atFrom = PathOccupied(from);
    const bool atTo = PathOccupied(to);
    if (atFrom && atTo && SameContent(from, to)) {
      // A copy between file systems was finished but its source not yet removed.
      if (auto removed = RemoveFile(from); !removed)
        return MakeError("cannot repair interrupted moves: " + removed.error());
      repaired.push_back("removed " + from + ", a finished copy of " + to);
      atFrom = false;
    }
    std::string item;
    std::string sidecarHome;
    std::string sidecarAway;
    if (atTo && !atFrom) {
      item = to;
      sidecarHome = SidecarPath(to);
      sidecarAway = SidecarPath(from);
    } else if (atFrom) {
      item = from;
      sidecarHome = SidecarPath(from);
      sidecarAway = SidecarPath(to);
    } else {
      repaired.push_back("found the item file neither at " + from + " nor at " + to);
      continue;
    }
    const std::size_t before = repaired.size();
    if (auto settled = Settle(sidecarHome, sidecarAway, "the sidecar", repaired); !settled) {
      return MakeError("cannot repair interrupted moves: " + settled.error());
    }
    if (repaired.size() != before) repaired.back() += " (beside its item " + item + ")";
  }
  for (const std::string& d : touched) {
    if (auto synced = SyncDirectory(d); !synced)
      return MakeError("cannot repair interrupted moves: " + synced.error());
  }
  if (auto removed = RemoveFile(path); !removed)
    return MakeError("cannot repair interrupted moves: " + removed.error());
  (void)SyncDirectory(dir.empty() ? "." : dir);
  return repaired;
}

Result<PoolLock> LockPool(const std::string& dir, std::chrono::milliseconds wait, Tidy tidy) {
  auto lock = DirectoryLock::Acquire(dir, wait);
  if (!lock) return MakeError(lock.error());
  PoolLock held{std::move(*lock), {}};
  if (dir.empty() || !DirectoryExists(dir)) return held;
  auto published = FinishFileSet(dir);
  if (!published) return MakeError(published.error());
  auto repaired = RecoverMoves(dir);
  if (!repaired) return MakeError(repaired.error());
  held.repaired = std::move(*published);
  held.repaired.insert(held.repaired.end(), repaired->begin(), repaired->end());
  if (tidy == Tidy::kNo) return held;
  if (auto entries = ListDirectory(dir)) {
    std::vector<std::string> names;
    for (const DirEntry& entry : *entries) names.push_back(entry.name);
    for (const std::string& removed : RemoveStaleTemporaryFiles(dir, names)) {
      held.repaired.push_back("removed " + removed + ", left by a run that was killed");
    }
  }
  return held;
}

}  // namespace relicor
