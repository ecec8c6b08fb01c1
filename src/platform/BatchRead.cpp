#include "platform/BatchRead.h"

#include <atomic>

#include "platform/FaultInjection.h"

#ifdef RELICOR_HAVE_LIBURING
#include <fcntl.h>
#include <liburing.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Clock.h"
#endif

namespace relicor {

namespace {

std::atomic<bool> batchesOn{true};

}  // namespace

void SetBatchReads(bool on) {
  batchesOn = on;
}

#ifndef RELICOR_HAVE_LIBURING

bool ReadBatch(int /*directoryFd*/, std::span<BatchFile> /*files*/) {
  return false;
}

#else

namespace {

// Files handed to the kernel at once: each takes two entries of the ring (its read and its close).
constexpr std::size_t kFilesAtOnce = 32;
constexpr unsigned kRingEntries = 2 * kFilesAtOnce;

// Whether this system gives a ring at all: learnt from the first thread that asks, so that a
// system that forbids io_uring is asked once, not by every thread.
enum class Rings : std::uint8_t { kUnknown, kGiven, kRefused };
std::atomic<Rings> rings{Rings::kUnknown};

// The entries of a round: what each completion belongs to.
constexpr std::uint64_t kReadTag = 1;

class Ring {
 public:
  // A ring, or none when the system refuses it.
  static Ring* OfThisThread() {
    thread_local std::optional<Ring> own;
    thread_local bool tried = false;
    if (own) return own->broken_ ? nullptr : &*own;
    if (tried || rings.load() == Rings::kRefused) return nullptr;
    tried = true;
    own.emplace();
    if (io_uring_queue_init(kRingEntries, &own->ring_, 0) < 0) {
      own->broken_ = true;
      rings.store(Rings::kRefused);
      return nullptr;
    }
    own->ready_ = true;
    if (!own->CanOpenReadAndClose()) {
      own->broken_ = true;
      rings.store(Rings::kRefused);
      return nullptr;
    }
    rings.store(Rings::kGiven);
    return &*own;
  }

  Ring() = default;
  ~Ring() {
    if (ready_) io_uring_queue_exit(&ring_);
  }
  Ring(const Ring&) = delete;
  Ring& operator=(const Ring&) = delete;

  // An older kernel gives rings that cannot open or close files.
  bool CanOpenReadAndClose() {
    io_uring_probe* probe = io_uring_get_probe_ring(&ring_);
    if (probe == nullptr) return false;
    const bool can = io_uring_opcode_supported(probe, IORING_OP_OPENAT) != 0 &&
                     io_uring_opcode_supported(probe, IORING_OP_READ) != 0 &&
                     io_uring_opcode_supported(probe, IORING_OP_CLOSE) != 0;
    io_uring_free_probe(probe);
    return can;
  }

  // Entries free for the next round (all of them, unless the ring failed).
  unsigned Room() { return io_uring_sq_space_left(&ring_); }
  io_uring_sqe* Entry() { return io_uring_get_sqe(&ring_); }

  // Hands the `entries` made to the kernel and takes all their completions, each to `done`
  // (user data, result). False when the ring failed on the way: it is not used again, `done`
  // heard of the entries that were carried out, and `submitted` tells how many of the entries,
  // in the order they were made, the kernel took (those after it never run).
  template <typename Done>
  bool Run(unsigned entries, Done&& done, unsigned* submitted = nullptr) {
    unsigned taken = 0;
    while (taken < entries) {
      const int n = io_uring_submit(&ring_);
      if (n == -EINTR) continue;
      if (n <= 0) {
        broken_ = true;
        break;
      }
      taken += static_cast<unsigned>(n);
    }
    if (submitted != nullptr) *submitted = taken;
    for (unsigned seen = 0; seen < taken; ++seen) {
      io_uring_cqe* cqe = nullptr;
      int waited = io_uring_wait_cqe(&ring_, &cqe);
      while (waited == -EINTR) waited = io_uring_wait_cqe(&ring_, &cqe);
      if (waited < 0) {
        broken_ = true;
        return false;
      }
      done(io_uring_cqe_get_data64(cqe), cqe->res);
      io_uring_cqe_seen(&ring_, cqe);
    }
    return !broken_;
  }

 private:
  io_uring ring_{};
  bool ready_ = false;
  bool broken_ = false;
};

// Room for the reads of a round: one buffer for all, kept by the thread (a read is copied out as
// long as it came, so the room is never filled with zeros first).
char* ReadRoom(std::size_t bytes) {
  thread_local std::unique_ptr<char[]> room;
  thread_local std::size_t size = 0;
  if (size < bytes) {
    room = std::make_unique_for_overwrite<char[]>(bytes);
    size = bytes;
  }
  return room.get();
}

// One round of at most kFilesAtOnce files. False when the ring failed: the caller then reads
// every file of the round that was not kept.
bool ReadRound(Ring& ring, int directoryFd, std::span<BatchFile> files) {
  if (ring.Room() < 2 * files.size()) return false;
  std::array<int, kFilesAtOnce> fds;
  fds.fill(-1);
  unsigned entries = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    io_uring_sqe* sqe = ring.Entry();
    io_uring_prep_openat(sqe, directoryFd, files[i].name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0);
    io_uring_sqe_set_data64(sqe, i);
    ++entries;
  }
  const bool opened = ring.Run(entries, [&](std::uint64_t i, int result) {
    if (result >= 0) fds[i] = result;
  });
  if (!opened) {
    for (const int fd : fds)
      if (fd >= 0) ::close(fd);
    return false;
  }

  // Where the date is wanted, it is asked of the open file before the read, so that a file
  // changed meanwhile carries a stamp older than what was read, never a newer one.
  std::array<std::size_t, kFilesAtOnce> offsets{};
  std::size_t room = 0;
  std::array<bool, kFilesAtOnce> toRead{};
  for (std::size_t i = 0; i < files.size(); ++i) {
    BatchFile& file = files[i];
    if (fds[i] < 0) continue;
    toRead[i] = true;
    if (file.stamped) {
      struct stat st {};
      if (::fstat(fds[i], &st) != 0 || !S_ISREG(st.st_mode)) {
        toRead[i] = false;
      } else {
        file.modified =
            LocalDateTimeFromUnix(static_cast<double>(st.st_mtim.tv_sec) + st.st_mtim.tv_nsec / 1e9);
        file.stamp =
            MakeFileStamp(static_cast<std::uint64_t>(st.st_size), st.st_mtim.tv_sec, st.st_mtim.tv_nsec,
                          static_cast<std::uint64_t>(st.st_ino), static_cast<std::uint64_t>(st.st_dev));
      }
    }
    offsets[i] = room;
    room += file.most + 1;
  }
  char* buffer = ReadRoom(room);

  // Every file opened is closed, after its read when it has one (a failed read does not keep
  // the close from running).
  entries = 0;
  std::array<std::size_t, 2 * kFilesAtOnce> closeOf{};  // the file each entry closes
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (fds[i] < 0) continue;
    if (toRead[i]) {
      io_uring_sqe* sqe = ring.Entry();
      io_uring_prep_read(sqe, fds[i], buffer + offsets[i], static_cast<unsigned>(files[i].most + 1), 0);
      io_uring_sqe_set_data64(sqe, (i << 1) | kReadTag);
      sqe->flags |= IOSQE_IO_HARDLINK;
      closeOf[entries++] = i;
    }
    io_uring_sqe* sqe = ring.Entry();
    io_uring_prep_close(sqe, fds[i]);
    io_uring_sqe_set_data64(sqe, i << 1);
    closeOf[entries++] = i;
  }
  std::array<int, kFilesAtOnce> results;
  results.fill(-1);
  unsigned submitted = 0;
  if (entries > 0 && !ring.Run(
                         entries,
                         [&](std::uint64_t tag, int result) {
                           if ((tag & kReadTag) != 0) results[tag >> 1] = result;
                         },
                         &submitted)) {
    // The ring failed: the files whose close the kernel never took are closed here (one that it
    // took is closed by it, whenever: its number is never closed twice), and no read of the round
    // is kept.
    for (unsigned e = submitted; e < entries; ++e) {
      const std::size_t i = closeOf[e];
      if (e + 1 == entries || closeOf[e + 1] != i) ::close(fds[i]);
    }
    return false;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    BatchFile& file = files[i];
    if (!toRead[i] || results[i] < 0) continue;
    const auto got = static_cast<std::size_t>(results[i]);
    if (got < file.least || got > file.most) continue;
    file.data.assign(buffer + offsets[i], got);
    file.read = true;
  }
  return true;
}

}  // namespace

bool ReadBatch(int directoryFd, std::span<BatchFile> files) {
  if (!batchesOn.load() || (directoryFd < 0 && directoryFd != AT_FDCWD) || faults::Planned()) return false;
  Ring* ring = Ring::OfThisThread();
  if (ring == nullptr) return false;
  for (std::size_t first = 0; first < files.size(); first += kFilesAtOnce) {
    const std::size_t count = std::min(kFilesAtOnce, files.size() - first);
    if (!ReadRound(*ring, directoryFd, files.subspan(first, count))) break;
  }
  return true;
}

#endif

}  // namespace relicor
