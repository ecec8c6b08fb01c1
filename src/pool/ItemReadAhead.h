#pragma once
// Reading item files ahead of the one thread that reports them: worker threads read the ITM files
// of a known list of paths (and the sidecars a directory listing holds) in the background, and the
// reporting thread takes each read in the list's order. What it takes is what a read at that
// moment would have given, error texts included, so the reports, their order and the point where
// an error is told stay as they are without the read-ahead.

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "item/ItemFile.h"
#include "platform/Ini.h"
#include "platform/Result.h"
#include "pool/Sidecar.h"

namespace relicor {

// One item file as a worker read it.
struct ItemRead {
  Result<ItemFile> file = MakeError(std::string());
  bool sidecarRead = false;               // the worker looked for the sidecar (the listing may hold it)
  std::optional<Ini> sidecar;             // its keys, when there is a sidecar that could be read
  std::string sidecarProblem;             // why a sidecar that is there was not read
  FileStamp sidecarStamp = kNoFileStamp;  // the sidecar's identity, taken before it was read
};

// Reads `path` as the item cache's first load of it does: the ITM file and, for an item file
// whose sidecar `sidecars` may hold (always, without a listing), the sidecar. With `in`, files
// directly in that directory are opened from it.
ItemRead ReadItemAndSidecar(const std::string& path, const SidecarListing* sidecars,
                            const DirectoryHandle* in = nullptr, ItemFileDate date = ItemFileDate::kRead);

enum class ReadAheadMode : std::uint8_t {
  kAuto,  // worker threads as the machine has cores (at least 2); none while a test injects faults
  kOff,   // every file is read by the thread that reports it
  kOn,    // worker threads, also while faults are injected
};
// For tests that compare the two ways; the program always runs kAuto.
void SetReadAheadMode(ReadAheadMode mode);
// The worker threads a read-ahead of `items` files starts (0: none); the reporting thread reads
// beside them.
unsigned ReadAheadThreads(std::size_t items);

class ItemReadAhead {
 public:
  // Starts reading the `count` files `directory` + nameOf(i) in this order (`directory` ends in a
  // separator). The names nameOf gives and `sidecars` (may be null) must outlive the read-ahead.
  // `date`: whether each file's date and identity are read too (see ItemFileDate).
  using NameOf = std::function<std::string_view(std::size_t)>;
  ItemReadAhead(std::string directory, std::size_t count, NameOf nameOf, const SidecarListing* sidecars,
                ItemFileDate date = ItemFileDate::kRead);
  // Stops the workers (a read under way is finished) and waits for them.
  ~ItemReadAhead();
  ItemReadAhead(const ItemReadAhead&) = delete;
  ItemReadAhead& operator=(const ItemReadAhead&) = delete;

  // The read of `path`, when it is the next path of the list or one a little further on (the
  // reads before it are dropped); waits until a worker has read it. Nothing for any other path,
  // or when no worker runs: the caller reads the file itself.
  std::optional<ItemRead> Take(std::string_view path);

 private:
  void Work();
  // Slots that no read holds or is being made for (under the lock).
  std::size_t FreeSlots() const;
  // Reads the `claims` files from `first` on into `reads` (without the lock).
  void ReadRun(std::size_t first, std::size_t claims, std::optional<ItemRead>* reads);
  bool IsPath(std::size_t i, std::string_view path) const;

  static constexpr std::size_t kWindow = 128;    // reads held at most, ahead of the reporting thread
  static constexpr std::size_t kClaimBatch = 8;  // files a thread reads before it stores them

  std::string directory_;
  std::size_t count_;
  NameOf nameOf_;
  const SidecarListing* sidecars_;
  ItemFileDate date_;
  std::optional<DirectoryHandle> opened_;  // the directory, while workers read its files
  std::mutex mutex_;
  std::condition_variable filled_;              // a worker stored a read
  std::condition_variable taken_;               // the reporting thread took a read (or the read-ahead stops)
  std::vector<std::optional<ItemRead>> slots_;  // read i is in slot i % kWindow
  std::size_t claimed_ = 0;                     // the next read a worker starts
  std::size_t next_ = 0;                        // the next read the reporting thread takes
  bool stop_ = false;
  std::size_t sleepingWorkers_ = 0;                            // workers waiting for room in the window
  bool takerWaits_ = false;                                    // the reporting thread waits for a read
  std::array<std::optional<ItemRead>, kClaimBatch> ownReads_;  // the reporting thread's own run
  std::vector<std::thread> workers_;
};

}  // namespace relicor
