#pragma once
// A test seam of the file layer: a test can make chosen file operations fail with an error of its
// choice, or end the process (SIGKILL) at the Nth of them, to check what every write path leaves
// behind. Nothing is injected unless a test asks; production code never calls Inject or KillAt.

#include <cstdint>
#include <string>
#include <string_view>

namespace relicor::faults {

enum class FileOp : std::uint8_t {
  kOpen,      // opening a file for writing, or creating one
  kWrite,     // writing bytes to a file
  kFsync,     // flushing a file or a directory to the disk
  kRename,    // renaming, moving or linking a file
  kUnlink,    // removing a file
  kOpenRead,  // opening a file or a directory for reading
  kLock,      // taking an advisory lock (flock)
};

// Bit masks for KillAt.
constexpr std::uint32_t Bit(FileOp op) {
  return 1u << static_cast<unsigned>(op);
}

struct Fault {
  FileOp op = FileOp::kWrite;
  int error = 0;         // the errno the operation fails with (EACCES, ENOSPC, EROFS, EIO, ...)
  std::string pathPart;  // only operations on a path containing this text (empty: all)
  int skip = 0;          // so many matching operations succeed first
  int times = -1;        // so many fail, then the fault is spent (-1: every one)
};

// Adds a fault; several may be active at once (the first that matches decides).
void Inject(const Fault& fault);
// Ends the process with SIGKILL just before the `n`th (from 1) operation of the kinds in `opsMask`.
void KillAt(std::uint32_t opsMask, int n);
// Removes every fault and the kill point.
void Clear();
// How many operations of the kinds in `opsMask` ran since the last Clear.
int Count(std::uint32_t opsMask);

// True once a test has planned a fault or a kill point in this process (even after Clear, since
// the counting goes on): work that would meet the files in another order then keeps to one thread.
bool Planned();

// For the file layer: 0, or the errno the operation on `path` must fail with. May end the process.
int Check(FileOp op, std::string_view path);

}  // namespace relicor::faults
