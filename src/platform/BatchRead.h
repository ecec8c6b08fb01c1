#pragma once
// Reading many small files of one directory with few system calls: the files of a batch are
// opened in one call to the kernel, then read and closed in a second one (io_uring), instead of
// an open, a read and a close each. Only a read that went plainly is kept: a file that is
// missing, shorter or longer than the caller expects, no regular file where its date is wanted,
// or any call that failed leaves the file for the caller to read the usual way, which gives the
// usual text or error. Where the system has no io_uring (or forbids it), nothing is read in
// batches and the caller reads every file itself.

#include <cstddef>
#include <span>
#include <string>

#include "platform/FileStamp.h"
#include "text/DateText.h"

namespace relicor {

struct BatchFile {
  // What to read:
  const char* name = nullptr;  // a name directly in the directory
  std::size_t least = 0;       // the read is kept when it gave at least this many bytes
  std::size_t most = 0;        // and at most this many (it asks for one byte more)
  // The file's date and identity too, asked of the open file before it is read, as the usual
  // read does; the read is then kept only for a regular file.
  bool stamped = false;

  // What was read, when `read`:
  bool read = false;  // false: read this file the usual way
  std::string data;
  DateTime modified = 0;
  FileStamp stamp = kUnknownFileStamp;
};

// Reads `files` in the directory open as `directoryFd` (AT_FDCWD: the working directory), on a ring of this
// thread's own. False when batches cannot be read (no io_uring, or switched off, or a test injects faults
// into the file layer, whose operations must keep their order): then no file was read.
bool ReadBatch(int directoryFd, std::span<BatchFile> files);

// For tests that compare both ways; on by default.
void SetBatchReads(bool on);

}  // namespace relicor
