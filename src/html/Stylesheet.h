#pragma once
// The stylesheet every published page links to.

#include <string>

#include "platform/Result.h"
#include "platform/Settings.h"

namespace relicor {

// The stylesheet's file name: prefix + "ip.css".
std::string StylesheetFileName(const HtmlOptionValues& options);

// The stylesheet's text (CR LF line ends), built from the current option values.
std::string StylesheetText(const HtmlOptionValues& options);

// Writes the stylesheet into `directory`, replacing an existing one. An error names the file.
Status WriteStylesheet(const std::string& directory, const HtmlOptionValues& options);

}  // namespace relicor
