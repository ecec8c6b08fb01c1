#pragma once
// The publishing run: the stylesheet, a detail and a brief page per item class, the history page
// and the entrance page, all written into the output directory.

#include <cstddef>
#include <string>
#include <vector>

#include "html/PublishContext.h"
#include "platform/Result.h"

namespace relicor {

struct PublishSummary {
  std::vector<std::string> files;  // full paths, in the order they were written
  std::size_t itemCount = 0;       // entries of the page item list
};

// Publishes the items of the output directory (and, with the subdirectories flag, of its visible
// subdirectories). The files are put in place together when all are written (FileSetWriter), so
// the directory holds the files of one run. The first failure (an item that cannot be read, a file
// that cannot be written) stops the run with an error naming the file: every file keeps its
// earlier content, and the HTML switch and brief mode are off afterwards.
Result<PublishSummary> CreatePages(PublishContext& ctx);

}  // namespace relicor
