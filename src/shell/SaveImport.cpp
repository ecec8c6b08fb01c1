#include "shell/SaveImport.h"

#include <filesystem>
#include <map>

#include "platform/FileSystem.h"
#include "pool/ItemCache.h"
#include "pool/MoveJournal.h"
#include "pool/RenameRun.h"
#include "pool/Sidecar.h"
#include "shell/SeedCheck.h"
#include "text/ByteText.h"
#include "text/Cp1252.h"
#include "text/Path.h"

namespace relicor {

namespace {

std::string WithoutTrailingSlash(std::string dir) {
  while (dir.size() > 1 && dir.back() == kPathSeparator) dir.pop_back();
  return dir;
}

bool IsInside(const std::string& dir, const std::string& root) {
  std::error_code ec;
  const auto a = std::filesystem::weakly_canonical(dir, ec);
  if (ec) return false;
  const auto b = std::filesystem::weakly_canonical(root, ec);
  if (ec) return false;
  const auto rel = a.lexically_relative(b);
  return !rel.empty() && *rel.begin() != "..";
}

bool UnderDirectory(std::string_view path, const std::string& dir) {
  return path.size() > dir.size() && path.substr(0, dir.size()) == dir && path[dir.size()] == kPathSeparator;
}

std::string KindText(const saves::SaveGame& save) {
  std::string text(saves::SaveModeName(save.mode));
  text += save.kind == saves::SaveKind::kStash ? " stash" : " hero";
  if (save.devilutionX) text += " (DevilutionX)";
  return text;
}

std::string VerdictOf(const saves::SaveItem& item) {
  std::string text = VerdictText(item.verdict);
  if (item.storedCopyDiffers) text += " (the copy DevilutionX stored)";
  return text;
}

// Writes one item and its sidecar: both first under temporary names beside the target, recorded
// in the journal as a move to the target, then the item and after it the sidecar are moved into
// place. A run killed before the item's move leaves temporary files that the next run removes; one
// killed after it leaves a journal by which the sidecar follows its item.
Status WriteImportedItem(MoveJournal& journal, const ItemRecord& record, const SidecarValues& values,
                         DateTime today, const std::string& target) {
  const std::string staged = TemporaryFileName(target);
  const std::string stagedSidecar = SidecarPath(staged);
  if (auto recorded = journal.Record({{staged, target}}); !recorded) return recorded;
  const std::string_view bytes(reinterpret_cast<const char*>(record.bytes().data()), record.bytes().size());
  auto cleanUp = [&] {
    (void)RemoveFile(staged);
    (void)RemoveFile(stagedSidecar);
  };
  if (auto written = AtomicReplaceFile(staged, bytes); !written) {
    cleanUp();
    return written;
  }
  if (auto written = WriteSidecar(stagedSidecar, values, today); !written) {
    cleanUp();
    return written;
  }
  if (auto moved = MoveFileNoReplace(staged, target); !moved) {
    cleanUp();
    return moved;
  }
  return MoveFileNoReplace(stagedSidecar, SidecarPath(target));
}

}  // namespace

std::size_t SaveImportResult::Count(ImportOutcome outcome) const {
  std::size_t n = 0;
  for (const SaveImportEntry& save : saves)
    for (const ImportedItem& item : save.items) n += item.outcome == outcome ? 1 : 0;
  return n;
}

std::size_t SaveImportResult::Refused() const {
  std::size_t n = 0;
  for (const SaveImportEntry& save : saves) n += save.error.empty() ? 0 : 1;
  return n;
}

Result<SaveImportResult> ImportSaves(Session& session, const std::vector<std::string>& paths,
                                     const SaveImportOptions& options) {
  const std::string pool = WithoutTrailingSlash(session.settings().pathToPool);
  if (pool.empty()) return MakeError("no pool directory is set (--pool DIR or the settings)");
  if (!DirectoryExists(pool)) return MakeError(pool + ": the pool directory does not exist");
  std::string dir = pool;
  if (!options.into.empty()) {
    dir = WithoutTrailingSlash(options.into);
    if (!DirectoryExists(dir)) return MakeError(dir + ": no such directory");
    if (dir != pool && !IsInside(dir, pool))
      return MakeError(dir + ": not inside the pool directory " + pool + " (items go only into the pool)");
  }

  SaveImportResult result;
  result.directory = dir;
  result.dryRun = options.dryRun;
  std::vector<saves::SaveGame> games;
  for (const std::string& path : paths) {
    SaveImportEntry entry;
    entry.path = path;
    auto save = saves::ReadSaveGame(path);
    if (!save) {
      entry.error = save.error();
      games.emplace_back();
    } else {
      entry.kind = KindText(*save);
      entry.heroName = save->heroName;
      entry.sender = options.sender.empty() ? save->heroName : options.sender;
      games.push_back(std::move(*save));
    }
    result.saves.push_back(std::move(entry));
  }

  std::size_t total = 0;
  for (const saves::SaveGame& game : games) total += game.items.size();
  if (!options.select.empty() && static_cast<std::size_t>(*options.select.rbegin()) > total) {
    return MakeError("no item numbered " + std::to_string(*options.select.rbegin()) + " (the saves hold " +
                     std::to_string(total) + " items; --dry-run numbers them)");
  }

  std::optional<PoolLock> held;
  if (!options.dryRun) {
    auto lock = LockPool(pool);
    if (!lock) return lock.failure();
    result.repaired = std::move(lock->repaired);
    held.emplace(std::move(*lock));
    if (dir != pool) {
      if (auto entries = ListDirectory(dir)) {
        std::vector<std::string> names;
        for (const DirEntry& e : *entries) names.push_back(e.name);
        for (const std::string& removed : RemoveStaleTemporaryFiles(dir, names))
          result.repaired.push_back("removed " + removed + ", left by a run that was killed");
      }
    }
  }

  // What the pool holds (the whole tree) and, for the names, what the rename run would load.
  auto cached = session.LoadPoolAndSentItems();
  if (!cached) return cached.failure();
  FileNameIndex names;
  std::map<std::string, std::string> poolKeys;
  for (const Session::CachedItem& item : *cached) {
    names.Add(item.path);
    if (!UnderDirectory(item.path, pool) || item.itemKey.empty()) continue;
    poolKeys.emplace(item.itemKey, item.path);
  }

  std::size_t done = 0;
  std::optional<MoveJournal> journal;
  if (!options.dryRun) journal.emplace(pool);
  const DateTime now = session.clock().Now();
  int number = 0;
  for (std::size_t s = 0; s < games.size(); ++s) {
    SaveImportEntry& entry = result.saves[s];
    if (!entry.error.empty()) continue;
    for (const saves::SaveItem& item : games[s].items) {
      ImportedItem line;
      line.number = ++number;
      line.place = saves::PlaceText(item.place, item.slot);
      line.name = item.record.Name();
      line.key = item.record.ItemKey();
      line.verdict = VerdictOf(item);
      if (options.progress) options.progress(done++, total);
      if (!options.select.empty() && options.select.count(line.number) == 0) {
        line.outcome = ImportOutcome::kNotSelected;
      } else if (auto found = poolKeys.find(line.key); found != poolKeys.end()) {
        line.outcome = ImportOutcome::kAlreadyInPool;
        line.file = found->second;
      } else {
        const std::string base = FileNameBase(line.name);
        std::string target;
        for (;;) {
          const std::int32_t n = names.FreeNumber(base, std::string());
          target =
              JoinPath(dir, base + ZeroPadNumber(n, kRenameNumberWidth) + std::string(kRenamedExtension));
          names.Add(target);
          if (!PathOccupied(target) && !PathOccupied(SidecarPath(target))) break;
        }
        line.file = target;
        line.outcome = ImportOutcome::kImported;
        if (!options.dryRun) {
          SidecarValues values;
          values.senderName = entry.sender;
          values.points4ItemAt = now;
          values.addedItem = now;
          values.sentAt = now;
          if (auto written = WriteImportedItem(*journal, item.record, values, now, target); !written) {
            line.outcome = ImportOutcome::kFailed;
            line.reason = written.error();
          } else {
            (void)session.LoadIntoCache(target);
          }
        }
        if (line.outcome == ImportOutcome::kImported) poolKeys.emplace(line.key, target);
      }
      entry.items.push_back(std::move(line));
    }
    for (const saves::SkippedItem& skipped : games[s].skipped) {
      ImportedItem line;
      line.place = saves::PlaceText(skipped.place, skipped.slot);
      line.outcome = ImportOutcome::kSkipped;
      line.reason = skipped.reason;
      entry.items.push_back(std::move(line));
    }
  }
  if (journal) {
    if (auto cleared = journal->Clear(); !cleared) return cleared.failure();
  }
  if (options.progress) options.progress(total, total);
  return result;
}

std::string SaveImportLine(const ImportedItem& item, bool dryRun) {
  std::string line;
  if (item.number > 0) line += std::to_string(item.number) + " ";
  line += item.place + ": ";
  if (item.outcome != ImportOutcome::kSkipped)
    line += Cp1252ToUtf8(item.name) + " (" + Cp1252ToUtf8(item.verdict) + "): ";
  switch (item.outcome) {
    case ImportOutcome::kImported:
      line += (dryRun ? "would be imported as " : "imported as ") + item.file;
      break;
    case ImportOutcome::kAlreadyInPool:
      line += "already in the pool: " + item.key + " in " + item.file;
      break;
    case ImportOutcome::kNotSelected:
      line += "not selected";
      break;
    case ImportOutcome::kSkipped:
      line += "skipped: " + item.reason;
      break;
    case ImportOutcome::kFailed:
      line += "failed: " + item.reason;
      break;
  }
  return line;
}

std::string SaveImportSummary(const SaveImportResult& result) {
  auto count = [](std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
  };
  std::string text = std::to_string(result.Count(ImportOutcome::kImported)) +
                     (result.dryRun ? " would be imported, " : " imported, ") +
                     std::to_string(result.Count(ImportOutcome::kAlreadyInPool)) + " already in the pool, " +
                     std::to_string(result.Count(ImportOutcome::kSkipped)) + " skipped";
  if (const std::size_t failed = result.Count(ImportOutcome::kFailed))
    text += ", " + std::to_string(failed) + " failed";
  if (const std::size_t refused = result.Refused())
    text += ", " + count(refused, "save refused", "saves refused");
  return text;
}

}  // namespace relicor
