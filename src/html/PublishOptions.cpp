#include "html/PublishOptions.h"

namespace relicor {

std::string OutputPrefix(const HtmlOptionValues& options, bool brief) {
  return brief ? options.filePrefix + "s" : options.filePrefix;
}

}  // namespace relicor
