#include "pool/ItemReadAhead.h"

#include <fcntl.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <span>
#include <string>
#include <utility>

#include "platform/BatchRead.h"
#include "platform/FaultInjection.h"
#include "pool/ItemCache.h"
#include "text/Path.h"

namespace relicor {

namespace {

std::atomic<ReadAheadMode> chosenMode{ReadAheadMode::kAuto};

// Fewer files than this are read faster than threads start.
constexpr std::size_t kFewestItems = 8;

// The most of a sidecar a batch reads (a sidecar holds a few hundred bytes; each read of a batch
// takes room for this much): one that is larger is read the usual way. A regular file that gives
// fewer bytes than a read asks for was read to its end, so what the batch keeps is the whole
// sidecar, as the usual read gives it.
constexpr std::size_t kSidecarReadAtOnce = std::min(kMaxSidecarBytes, std::size_t{4} * 1024 - 1);

}  // namespace

void SetReadAheadMode(ReadAheadMode mode) {
  chosenMode = mode;
}

unsigned ReadAheadThreads(std::size_t items) {
  const ReadAheadMode mode = chosenMode;
  if (mode == ReadAheadMode::kOff || items < kFewestItems) return 0;
  // Injected faults count operations: they must meet the files in the order one thread reads them.
  if (mode == ReadAheadMode::kAuto && faults::Planned()) return 0;
  // The reporting thread reads too, whenever it has caught up with the workers: one core is its own.
  return std::max(1u, std::thread::hardware_concurrency() - 1);
}

namespace {

// What batches read of a path: its item file, and its sidecar's keys (either may be null: not
// read in a batch).
struct Fetched {
  BatchFile* item = nullptr;
  std::optional<Ini>* sidecarKeys = nullptr;
};

// The item file as the batch read it, when it was read there with what `date` asks; else read now.
Result<ItemFile> ItemFileFrom(const std::string& path, const DirectoryHandle* in, ItemFileDate date,
                              const BatchFile* fetched) {
  if (fetched != nullptr && fetched->read) {
    if (date == ItemFileDate::kLeftOut) return ItemFileOf(fetched->data, 0, kUnknownFileStamp);
    if (fetched->stamped) return ItemFileOf(fetched->data, fetched->modified, fetched->stamp);
  }
  return ReadItemFile(path, in, date);
}

// The sidecar first, without its identity; the item file's date only when the sidecar does not
// give both dates, or always with `dateAlways`. A file that is no item ends the read as the usual
// order does: the sidecar read on the way is dropped.
ItemRead ReadSidecarFirst(const std::string& path, const SidecarListing& sidecars, const DirectoryHandle* in,
                          bool dateAlways, Fetched fetched) {
  ItemRead read;
  bool regular = false;
  const auto spelling = sidecars.SpellingOf(path, &regular);
  ItemFileDate date = ItemFileDate::kRead;
  if (spelling != SidecarListing::Spelling::kNone) {
    read.sidecarRead = true;
    const bool usual = spelling == SidecarListing::Spelling::kUsual;
    read.sidecarStamp = kUnknownFileStamp;
    if (fetched.sidecarKeys != nullptr && usual && regular) {
      read.sidecar = std::move(*fetched.sidecarKeys);
    } else {
      const std::string sidecar = usual ? SidecarPath(path) : FindSidecarPath(path);
      auto text = ReadSidecarText(sidecar, usual && regular ? KnownType::kRegular : KnownType::kUnknown, in);
      if (!text) {
        read.sidecarProblem = text.error();
      } else if (*text) {
        read.sidecar = Ini::Parse(**text);
      } else {
        read.sidecarStamp = kNoFileStamp;
      }
    }
    if (read.sidecar && !dateAlways && SidecarGivesDates(*read.sidecar)) date = ItemFileDate::kLeftOut;
  }
  read.file = ItemFileFrom(path, in, date, fetched.item);
  if (!read.file || read.file->status != ItemFileStatus::kItem) {
    read.sidecarRead = false;
    read.sidecar.reset();
    read.sidecarProblem.clear();
    read.sidecarStamp = kNoFileStamp;
  }
  return read;
}

BatchFile WantedFile(const std::string& name, std::size_t least, std::size_t most, bool stamped) {
  BatchFile file;
  file.name = name.c_str();
  file.least = least;
  file.most = most;
  file.stamped = stamped;
  return file;
}

bool SidecarFirst(ItemFileDate date) {
  return date == ItemFileDate::kOnlyWhereNeeded || date == ItemFileDate::kReadSidecarUnstamped;
}

ItemRead ReadFetched(const std::string& path, const SidecarListing* sidecars, const DirectoryHandle* in,
                     ItemFileDate date, Fetched fetched) {
  if (SidecarFirst(date) && sidecars != nullptr)
    return ReadSidecarFirst(path, *sidecars, in, date == ItemFileDate::kReadSidecarUnstamped, fetched);
  if (SidecarFirst(date)) date = ItemFileDate::kRead;
  ItemRead read;
  read.file = ItemFileFrom(path, in, date, fetched.item);
  if (!read.file || read.file->status != ItemFileStatus::kItem) return read;
  const auto spelling = sidecars != nullptr ? sidecars->SpellingOf(path) : SidecarListing::Spelling::kOther;
  if (spelling == SidecarListing::Spelling::kNone) return read;
  read.sidecarRead = true;
  // A listing that shows only the usual spelling names the file: no other is looked for.
  const std::string sidecar =
      spelling == SidecarListing::Spelling::kUsual ? SidecarPath(path) : FindSidecarPath(path);
  auto text = ReadSidecarTextAndStamp(sidecar, read.sidecarStamp, in);
  if (!text) {
    read.sidecarProblem = text.error();
  } else if (*text) {
    read.sidecar = Ini::Parse(**text);
  }
  return read;
}

}  // namespace

ItemRead ReadItemAndSidecar(const std::string& path, const SidecarListing* sidecars,
                            const DirectoryHandle* in, ItemFileDate date) {
  return ReadFetched(path, sidecars, in, date, Fetched{});
}

ItemReadAhead::ItemReadAhead(std::string directory, std::size_t count, NameOf nameOf,
                             const SidecarListing* sidecars, ItemFileDate date)
    : directory_(std::move(directory)),
      count_(count),
      nameOf_(std::move(nameOf)),
      sidecars_(sidecars),
      date_(date) {
  const unsigned threads = ReadAheadThreads(count_);
  if (threads == 0) return;
  opened_.emplace(directory_);
  slots_.resize(std::min(kWindow, count_));
  workers_.reserve(threads);
  for (unsigned i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

ItemReadAhead::~ItemReadAhead() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  taken_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

std::size_t ItemReadAhead::FreeSlots() const {
  return next_ + slots_.size() - claimed_;
}

void ItemReadAhead::ReadRun(std::size_t first, std::size_t claims, std::optional<ItemRead>* reads) {
  // Where the system allows it, the run's files are read in batches first: where the sidecar is
  // read first, the sidecars the listing shows as regular files in the usual spelling, and the
  // item files, each with its date where the read will want it. A read that asks for an item
  // file's date only where the sidecar does not give both dates has its sidecars read in a batch
  // of their own before. What the batches did not read is read below as without them.
  const int in = directory_.empty() ? AT_FDCWD : opened_->fd();  // no directory: the working one
  std::array<std::string, 2 * kClaimBatch> names;
  std::array<BatchFile, 2 * kClaimBatch> files;       // the sidecars, then the item files
  std::array<std::size_t, 2 * kClaimBatch> fileOf{};  // the file of the run each belongs to
  std::array<std::optional<Ini>, kClaimBatch> keys;
  std::array<Fetched, kClaimBatch> fetched{};
  const auto readEach = [&] {
    std::string path;
    for (std::size_t k = 0; k < claims; ++k) {
      path = directory_;
      path += nameOf_(first + k);
      reads[k] = ReadFetched(path, sidecars_, &*opened_, date_, fetched[k]);
    }
  };
  const bool sidecarFirst = SidecarFirst(date_) && sidecars_ != nullptr;
  const bool datesWhereNeeded = date_ == ItemFileDate::kOnlyWhereNeeded;
  std::size_t count = 0;
  for (std::size_t k = 0; sidecarFirst && k < claims; ++k) {
    const std::string_view name = nameOf_(first + k);
    bool regular = false;
    if (name.find(kPathSeparator) != std::string_view::npos ||
        sidecars_->SpellingOf(name, &regular) != SidecarListing::Spelling::kUsual || !regular)
      continue;
    names[count] = SidecarPath(std::string(name));
    files[count] = WantedFile(names[count], 0, kSidecarReadAtOnce, false);
    fileOf[count++] = k;
  }
  const std::size_t sidecarCount = count;
  // The sidecars' keys, once they are read.
  std::array<bool, kClaimBatch> datesGiven{};
  const auto takeKeys = [&] {
    for (std::size_t f = 0; f < sidecarCount; ++f) {
      if (!files[f].read) continue;
      const std::size_t k = fileOf[f];
      keys[k] = Ini::Parse(files[f].data);
      fetched[k].sidecarKeys = &keys[k];
      datesGiven[k] = datesWhereNeeded && SidecarGivesDates(*keys[k]);
    }
  };
  if (datesWhereNeeded && sidecarCount > 0) {
    if (!ReadBatch(in, std::span(files.data(), sidecarCount))) {
      readEach();
      return;
    }
    takeKeys();
  }
  for (std::size_t k = 0; k < claims; ++k) {
    const std::string_view name = nameOf_(first + k);
    if (name.find(kPathSeparator) != std::string_view::npos) continue;
    names[count] = name;
    const bool stamped = date_ != ItemFileDate::kLeftOut && !datesGiven[k];
    files[count] = WantedFile(names[count], kItemRecordSize, kItemRecordSize, stamped);
    fileOf[count++] = k;
  }
  const std::size_t from = datesWhereNeeded ? sidecarCount : 0;
  if (count > from && ReadBatch(in, std::span(files.data() + from, count - from))) {
    if (!datesWhereNeeded) takeKeys();
    for (std::size_t f = sidecarCount; f < count; ++f) fetched[fileOf[f]].item = &files[f];
  }
  readEach();
}

// Threads that woke each other for every file would cost more than the reads. So a worker claims
// a run of files at a time and stores their reads at once; one that finds the window full sleeps
// until half of it is free again, and the reporting thread wakes it only then. The reporting
// thread does not wait for a read that is not there while files are left that nobody has claimed:
// it reads the next such run itself, so the reads go on on every core until the last, and it
// waits only for the last runs a worker is reading (or when the window is full).
void ItemReadAhead::Work() {
  std::array<std::optional<ItemRead>, kClaimBatch> reads;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (!stop_ && claimed_ < count_ && FreeSlots() == 0) {
      ++sleepingWorkers_;
      taken_.wait(lock, [&] { return stop_ || claimed_ >= count_ || FreeSlots() >= slots_.size() / 2; });
      --sleepingWorkers_;
    }
    if (stop_ || claimed_ >= count_) return;
    const std::size_t first = claimed_;
    const std::size_t claims = std::min({kClaimBatch, count_ - claimed_, FreeSlots()});
    claimed_ += claims;
    lock.unlock();
    ReadRun(first, claims, reads.data());
    lock.lock();
    for (std::size_t k = 0; k < claims; ++k) slots_[(first + k) % slots_.size()] = std::move(reads[k]);
    if (takerWaits_ && slots_[next_ % slots_.size()]) filled_.notify_one();
  }
}

bool ItemReadAhead::IsPath(std::size_t i, std::string_view path) const {
  const std::string_view name = nameOf_(i);
  return path.size() == directory_.size() + name.size() && path.starts_with(directory_) &&
         path.ends_with(name);
}

std::optional<ItemRead> ItemReadAhead::Take(std::string_view path) {
  if (workers_.empty()) return std::nullopt;
  // Only this thread moves next_; the workers read it under the lock.
  const std::size_t last = std::min(count_, next_ + slots_.size());
  std::size_t wanted = next_;
  while (wanted < last && !IsPath(wanted, path)) ++wanted;
  if (wanted == last) return std::nullopt;
  std::unique_lock lock(mutex_);
  std::optional<ItemRead> read;
  while (next_ <= wanted) {
    std::optional<ItemRead>& slot = slots_[next_ % slots_.size()];
    if (!slot && claimed_ < count_ && (claimed_ == next_ || FreeSlots() >= kClaimBatch)) {
      // Nobody reads it yet, or a worker is reading it: rather than wait, this thread reads the
      // next run nobody has claimed itself, and looks again.
      const std::size_t first = claimed_;
      const std::size_t claims = std::min({kClaimBatch, count_ - claimed_, FreeSlots()});
      claimed_ += claims;
      lock.unlock();
      ReadRun(first, claims, ownReads_.data());
      lock.lock();
      for (std::size_t k = 0; k < claims; ++k) slots_[(first + k) % slots_.size()] = std::move(ownReads_[k]);
      continue;
    }
    if (!slot) {
      takerWaits_ = true;
      filled_.wait(lock, [&] { return slot.has_value(); });
      takerWaits_ = false;
    }
    // Into the read without a copy on the way; what the read held before (a skipped file) goes.
    read.swap(slot);
    slot.reset();
    ++next_;
  }
  const bool wake = sleepingWorkers_ > 0 && FreeSlots() >= slots_.size() / 2;
  lock.unlock();
  if (wake) taken_.notify_all();
  return read;
}

}  // namespace relicor
