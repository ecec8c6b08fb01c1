#include "pool/ItemReadAhead.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <utility>

#include "platform/FaultInjection.h"
#include "pool/ItemCache.h"

namespace relicor {

namespace {

std::atomic<ReadAheadMode> chosenMode{ReadAheadMode::kAuto};

// Fewer files than this are read faster than threads start.
constexpr std::size_t kFewestItems = 8;

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

// The sidecar first, without its identity; the item file's date only when the sidecar does not
// give both dates, or always with `dateAlways`. A file that is no item ends the read as the usual
// order does: the sidecar read on the way is dropped.
ItemRead ReadSidecarFirst(const std::string& path, const SidecarListing& sidecars, const DirectoryHandle* in,
                          bool dateAlways) {
  ItemRead read;
  bool regular = false;
  const auto spelling = sidecars.SpellingOf(path, &regular);
  ItemFileDate date = ItemFileDate::kRead;
  if (spelling != SidecarListing::Spelling::kNone) {
    read.sidecarRead = true;
    const bool usual = spelling == SidecarListing::Spelling::kUsual;
    const std::string sidecar = usual ? SidecarPath(path) : FindSidecarPath(path);
    auto text = ReadSidecarText(sidecar, usual && regular ? KnownType::kRegular : KnownType::kUnknown, in);
    read.sidecarStamp = kUnknownFileStamp;
    if (!text) {
      read.sidecarProblem = text.error();
    } else if (*text) {
      read.sidecar = Ini::Parse(**text);
      if (!dateAlways && SidecarGivesDates(*read.sidecar)) date = ItemFileDate::kLeftOut;
    } else {
      read.sidecarStamp = kNoFileStamp;
    }
  }
  read.file = ReadItemFile(path, in, date);
  if (!read.file || read.file->status != ItemFileStatus::kItem) {
    read.sidecarRead = false;
    read.sidecar.reset();
    read.sidecarProblem.clear();
    read.sidecarStamp = kNoFileStamp;
  }
  return read;
}

}  // namespace

ItemRead ReadItemAndSidecar(const std::string& path, const SidecarListing* sidecars,
                            const DirectoryHandle* in, ItemFileDate date) {
  const bool unstamped =
      date == ItemFileDate::kOnlyWhereNeeded || date == ItemFileDate::kReadSidecarUnstamped;
  if (unstamped && sidecars != nullptr)
    return ReadSidecarFirst(path, *sidecars, in, date == ItemFileDate::kReadSidecarUnstamped);
  if (unstamped) date = ItemFileDate::kRead;
  ItemRead read;
  read.file = ReadItemFile(path, in, date);
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
  std::string path;
  for (std::size_t k = 0; k < claims; ++k) {
    path = directory_;
    path += nameOf_(first + k);
    reads[k] = ReadItemAndSidecar(path, sidecars_, &*opened_, date_);
  }
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
