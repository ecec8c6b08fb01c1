#pragma once
// Bringing item files into a directory (the keeper drops them onto the main window): each ITM
// file is copied under its own name, and a file already there is never replaced.

#include <string>
#include <vector>

namespace relicor {

struct ItemImport {
  enum class Outcome {
    kCopied,
    kExists,       // a file of that name is already in the directory; nothing was written
    kNotItemFile,  // not an ordinary file whose name ends in ".ITM" (any letter case)
    kSameFile,     // the file is already in the directory
    kFailed,       // reading or writing failed; `error` says where and why
  };
  struct Entry {
    std::string source;  // as given
    std::string name;    // the file name it has (and keeps) in the directory
    Outcome outcome = Outcome::kFailed;
    std::string error;
  };
  std::vector<Entry> entries;

  int Count(Outcome outcome) const;
};

// Copies every source into `directory` (without a trailing separator; paths are the file system's
// own bytes). A copy first goes to a temporary file beside its target and is then moved onto the
// name without replacing anything, so another program writing the same name at the same moment
// keeps its file, and no half file ever carries the name.
ItemImport CopyItemFilesInto(const std::vector<std::string>& sources, const std::string& directory);

}  // namespace relicor
