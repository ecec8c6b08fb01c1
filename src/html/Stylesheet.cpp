#include "html/Stylesheet.h"

#include "html/PublishOptions.h"
#include "platform/FileSystem.h"
#include "text/Path.h"

namespace relicor {

namespace {

constexpr std::string_view kCrLf = "\r\n";

}  // namespace

std::string StylesheetFileName(const HtmlOptionValues& options) {
  return OutputPrefix(options, false) + "ip.css";
}

std::string StylesheetText(const HtmlOptionValues& options) {
  std::string css = "BODY, TD, P {";
  if (!options.fontface.empty()) css += " font-family: " + options.fontface + ";";
  if (!options.fontsize.empty()) css += " font-size: " + options.fontsize + ";";
  if (!options.color.empty()) css += " color: " + options.color + ";";
  // The background is written even when empty.
  css += " background: " + options.bgColor + ";}";
  css += kCrLf;
  if (!options.linkColor.empty()) {
    css += "A:link, A:visited  { text-decoration: none; color: " + options.linkColor + ";}";
    css += kCrLf;
  }
  css += ".INV1 {color: " + options.inv1Color + "; background: " + options.inv1BgColor + "}";
  css += kCrLf;
  if (!options.fontsize2.empty()) {
    css += ".SM {font-size: " + options.fontsize2 + "}";
    css += kCrLf;
  }
  return css;
}

Status WriteStylesheet(const std::string& directory, const HtmlOptionValues& options) {
  return AtomicReplaceFile(JoinPath(directory, StylesheetFileName(options)), StylesheetText(options));
}

}  // namespace relicor
