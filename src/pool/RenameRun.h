#pragma once
// The rename run: every known item file is renamed after the item it holds (the item's name
// without blanks and apostrophes, a running number of at least four digits and ".ITM"); the
// sidecars move along and the item cache follows the new names.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "item/ItemFile.h"
#include "platform/Result.h"
#include "pool/ItemCache.h"
#include "pool/RenameNaming.h"
#include "text/PathList.h"

namespace relicor {

struct HeldListing;
class LateSidecarLook;

struct RenameStep {
  std::string from;
  std::string to;
  std::string reason;  // why the file kept its name; empty when renamed
};

// The renames a run made, in order. A run over a large pool renames most of its files, so the
// paths are kept in lists that hold each directory once (a rename costs at most its two file names'
// bytes and twenty more; a new name ends in its running number, so it costs four bytes) rather than
// as strings of their own; a step's paths are made when it is read.
// A run that lists every path it may rename keeps, instead of each source path, where it stands
// in that list, and hands the list over as the run ends (AddFromSource, SetSources).
class RenameStepList {
 public:
  struct Step {
    std::string from;
    std::string to;
  };
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Step;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Step;
    Iterator() = default;
    Iterator(const RenameStepList* list, std::size_t at) : list_(list), at_(at) {}
    Step operator*() const { return (*list_)[at_]; }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++at_;
      return before;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }

   private:
    const RenameStepList* list_ = nullptr;
    std::size_t at_ = 0;
  };

  RenameStepList() = default;
  // A list whose renames start at paths of a list handed over later (AddFromSource, SetSources).
  static RenameStepList FromSources() {
    RenameStepList list;
    list.fromSources_ = true;
    return list;
  }

  std::size_t size() const { return fromSources_ ? sourceAt_.size() : to_.size(); }
  bool empty() const { return size() == 0; }
  // True for a list made by FromSources.
  bool BySource() const { return fromSources_; }
  // Makes room for the places of `count` renames in all.
  void Reserve(std::size_t count);
  // Adds a rename from `from` (a list not made by FromSources).
  void Add(std::string_view from, std::string_view to);
  // Adds a rename from the path at `source` in the list SetSources hands over (a list made by
  // FromSources); its steps can be read once it has. A rename keeps its file in its directory, so
  // the list keeps only the file name of `to`: `sourceDirectory` is the source's directory as
  // PathList::Directory gives it, and a `to` whose part before its last separator differs from it
  // throws std::logic_error.
  void AddFromSource(std::size_t source, std::string_view sourceDirectory, std::string_view to);
  void SetSources(PathList sources) { sources_ = std::move(sources); }
  Step operator[](std::size_t i) const {
    Step step;
    Get(i, step);
    return step;
  }
  // The same into `step`, whose texts keep their room for the next one.
  void Get(std::size_t i, Step& step) const {
    if (fromSources_) {
      const std::uint32_t source = sourceAt_[i];
      sources_.Get(source, step.from);
      step.to.assign(sources_.Directory(source));
      toNames_.AppendTo(i, step.to);
    } else {
      from_.Get(i, step.from);
      to_.Get(i, step.to);
    }
  }
  Step back() const { return (*this)[size() - 1]; }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, size()}; }

 private:
  bool fromSources_ = false;
  PathList from_;
  PathList to_;
  std::vector<std::uint32_t> sourceAt_;  // where each rename's source stands in sources_
  PathList toNames_;                     // the rest of each target after its source's directory
  PathList sources_;
};

struct RenameRunResult {
  bool confirmed = false;   // false: the keeper said no; nothing was loaded or renamed
  std::size_t handled = 0;  // snapshot paths handled
  RenameStepList renamed;
  std::vector<RenameStep> failed;  // skipped without a message in the window; kept for the CLI
  // The rename log written (empty when nothing was renamed or no log was asked for), or why it
  // could not be written.
  std::string logPath;
  std::string logError;

  // Files that kept their name because it already was their item's name.
  std::size_t kept() const {
    const std::size_t changed = renamed.size() + failed.size();
    return handled > changed ? handled - changed : 0;
  }
};

// What a plan was made from and what its moves need beyond their names, so that the run right
// after it can make exactly the plan's moves without naming every item again, when it finds the
// cache and the directories as the plan found them.
struct RenamePlanBasis {
  // The cached paths the plan handled, in order.
  PathList snapshot;
  struct Move {
    std::size_t position;  // of the source in `snapshot`
    std::string target;
  };
  std::vector<Move> moves;
  std::uint64_t listingDigest = 0;  // of the names the plan's listings held
  std::uint64_t cachePathChanges = 0;
  // False when the plan looked at the disk name by name (in a directory that was not listed or
  // whose file system takes names in other letter case for one) or met a cached path that the
  // listing did not hold: the run then names every item itself.
  bool reusable = false;
};

// What a run would do now: the renames (old -> new) in the order the run makes them.
struct RenamePlan {
  std::size_t handled = 0;  // item files the run would handle
  std::vector<RenameStep> renames;
  // How many files would be renamed in each directory, in the order of the directories' first
  // rename.
  std::vector<std::pair<std::string, std::size_t>> perDirectory;
  std::shared_ptr<const RenamePlanBasis> basis;
};

struct RenameRunOptions {
  std::string poolDir;
  std::string sentDir;
  // Where the moves are recorded before they are made (the pool directory); the caller holds
  // its lock.
  std::string journalDir;
  bool subdirectories = false;
  // Asked before anything is loaded or renamed (the caller puts the question to the keeper); true
  // only for Yes.
  std::function<bool()> confirm;
  // Called once per directory the scans enter.
  std::function<void()> scanStep;
  // Told about each subdirectory whose items the scans leave out (it cannot be listed).
  std::function<void(const std::string& reason)> skippedDirectory;
  // Called with (position, maximum) before each snapshot path is handled.
  std::function<void(std::size_t position, std::size_t maximum)> progress;
  // When not empty: the directory whose RENAME.LOG the run writes (when it renamed anything),
  // stamped with `runTime`.
  std::string logDir;
  DateTime runTime = 0;
  // What the scans ask of the files (see ItemFileDate); a run needs every item file's date.
  ItemFileDate itemDates = ItemFileDate::kRead;
  // The listing of the pool directory the caller's lock took, for the answered run's scan to take
  // instead of listing it again (see HeldListing).
  std::optional<HeldListing>* held = nullptr;
  // The look for late sidecars, when the caller started watching before the listing it hands on
  // in `held`; the run keeps its own otherwise.
  LateSidecarLook* lateSidecars = nullptr;
};

// The dry run: loads both directories as the run does and names every item as the run would
// (assuming every rename succeeds), but changes nothing on the disk. `confirm` is not asked.
Result<RenamePlan> PlanRenameRun(ItemCache& cache, const RenameRunOptions& options);

// "Start Rename Run": asks, lists both directories (a missing directory yields no files) and loads
// the item files the cache does not hold yet (after PlanRenameRun: those that came since), then
// renames every path the cache holds. A file that cannot be renamed keeps its name and the run goes
// on (it is listed in `failed`); a file that cannot be read during the listing stops the run before
// anything is renamed. A name whose ITM file or sidecar is on the disk is never taken; whether it
// is, and whether an item has a sidecar, the run takes from its listings, and after each batch of
// moves it looks once more for sidecars that came since, so that they follow their items.
// With the basis of a plan made just before: when the cache has not changed since and the
// listings hold the same names, the run makes the plan's moves, as the keeper was told, until a
// move fails; from there on, and always without such a plan, it names the items itself.
Result<RenameRunResult> StartRenameRun(ItemCache& cache, const RenameRunOptions& options,
                                       const RenamePlanBasis* plan = nullptr);

// The run for a keeper who said Yes before it started (`confirm` is not asked): there is no
// question to make a plan for and no pause between a look at the files and their moves, so the run
// looks at both directories once, as the dry run does (reading the files ahead), and names and
// moves every item under the lock the caller holds for the whole of it.
Result<RenameRunResult> RenameRunAnswered(ItemCache& cache, const RenameRunOptions& options);

}  // namespace relicor
