#pragma once
// The publishing options: the look of the pages and the prefix that starts every output file
// name. Values are used as they stand (no trimming, no checking, no escaping): they are the
// keeper's own texts.

#include <string>

#include "platform/Settings.h"

namespace relicor {

struct PublishOptions {
  // The eleven fields kept in the settings file, with their design values.
  HtmlOptionValues html;
  // Three more fields of the options dialog. They have no settings key and nothing reads them.
  std::string linkFontface = "arial";  // HTML_LFONTFACE
  std::string linkFontsize = "10pt";   // HTML_LFONTSIZE
  std::string backgroundPicture;       // HTML_BGPIC (disabled)

  bool operator==(const PublishOptions&) const = default;
};

// The file prefix, followed by "s" for the brief variant.
std::string OutputPrefix(const HtmlOptionValues& options, bool brief);
inline std::string OutputPrefix(const PublishOptions& options, bool brief) {
  return OutputPrefix(options.html, brief);
}

}  // namespace relicor
