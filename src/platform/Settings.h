#pragma once
// The settings file RELICOR.INI beside the program: its fifteen keys in section [RELICOR], their
// defaults and the reading rules (missing key -> default, present but empty -> empty).

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace relicor {

inline constexpr std::string_view kSettingsFileName = "RELICOR.INI";
inline constexpr std::string_view kSettingsSection = "RELICOR";

// The options dialog's fields that have a settings key, with their design values.
struct HtmlOptionValues {
  std::string fontface = "arial";       // HTML_FONTFACE
  std::string fontsize = "10pt";        // HTML_FONTSIZE
  std::string fontsize2 = "8pt";        // HTML_FONTSIZE2
  std::string color = "#C0C0C0";        // HTML_COLOR
  std::string bgColor = "#000000";      // HTML_BGCOLOR
  std::string linkColor = "#C00000";    // HTML_LINKCOLOR
  std::string inv1Color = "#F0F0F0";    // HTML_HLCOLOR
  std::string inv1BgColor = "#606000";  // HTML_HLBG
  std::string filePrefix = "itm";       // edFILEPREFIX (at most 3 characters can be typed)
  std::string headerUrl1;               // edURL1
  std::string headerUrl1Name;           // edURLNAME1
  // "Search page": the run also writes a search page over every item (kSearchPageKey). Off, the
  // run writes exactly the pages it writes without it.
  bool searchPage = false;

  bool operator==(const HtmlOptionValues&) const = default;
};

struct Settings {
  std::string pathToPool;  // at most 255 characters
  std::string pathToSent;  // at most 255 characters
  bool htmlScanSub = true;
  std::string mailAddress;
  HtmlOptionValues html;

  bool operator==(const Settings&) const = default;
};

// One option key and the field it belongs to.
struct HtmlOptionKey {
  std::string_view key;
  std::string HtmlOptionValues::*field;
};

inline constexpr std::size_t kHtmlOptionKeyCount = 11;

// The option keys in the order they are read and written.
// clang-format off
//   key                 field
inline constexpr std::array<HtmlOptionKey, kHtmlOptionKeyCount> kHtmlOptionKeys{{
    {"HTML_Fontface",    &HtmlOptionValues::fontface},        //  0
    {"HTML_Fontsize",    &HtmlOptionValues::fontsize},        //  1
    {"HTML_Fontsize2",   &HtmlOptionValues::fontsize2},       //  2
    {"HTML_Color",       &HtmlOptionValues::color},           //  3
    {"HTML_BGColor",     &HtmlOptionValues::bgColor},         //  4
    {"HTML_LinkColor",   &HtmlOptionValues::linkColor},       //  5
    {"HTML_INV1Color",   &HtmlOptionValues::inv1Color},       //  6
    {"HTML_INV1BGColor", &HtmlOptionValues::inv1BgColor},     //  7
    {"filePrefix",       &HtmlOptionValues::filePrefix},      //  8
    {"HeaderURL1",       &HtmlOptionValues::headerUrl1},      //  9
    {"HeaderURL1Name",   &HtmlOptionValues::headerUrl1Name},  // 10
}};
// clang-format on

// Our own key for the "Search page" option. It is written only when it is on or the file has it
// already, so a settings file that never had it stays as it was.
inline constexpr std::string_view kSearchPageKey = "SearchPage";

inline constexpr std::size_t kSettingsKeyCount = 15;

// Every key of the section in the order shutdown writes them.
// clang-format off
inline constexpr std::array<std::string_view, kSettingsKeyCount> kSettingsKeys{{
    "PathToPool",        //  0
    "PathToSent",        //  1
    "HTMLScanSub",       //  2
    "MailAddress",       //  3
    "HTML_Fontface",     //  4
    "HTML_Fontsize",     //  5
    "HTML_Fontsize2",    //  6
    "HTML_Color",        //  7
    "HTML_BGColor",      //  8
    "HTML_LinkColor",    //  9
    "HTML_INV1Color",    // 10
    "HTML_INV1BGColor",  // 11
    "filePrefix",        // 12
    "HeaderURL1",        // 13
    "HeaderURL1Name",    // 14
}};
// clang-format on

// `programDir` (ending with a separator) + "RELICOR.INI".
std::string SettingsPath(const std::string& programDir);

// The values of a first run: pool and sent directory beside the program, "&Subdirectories" on,
// no mail address, the options' design values.
Settings DefaultSettings(const std::string& programDir);

// Reads all fifteen keys. A missing or unreadable file and missing keys give the defaults; a key
// present with an empty value gives the empty text. When `problem` is given it receives why a file
// that is there was not read (a symbolic link, which is never followed, too large, no rights).
Settings LoadSettings(const std::string& iniPath, const std::string& programDir,
                      std::string* problem = nullptr);

// Reads the eleven option keys, each with the field's current text as the default.
HtmlOptionValues LoadHtmlOptionKeys(const std::string& iniPath, const HtmlOptionValues& current);

// The settings as two runs' changes meet: a key whose value in `ours` differs from `loaded` (the
// value this run read) keeps this run's value; every other key takes `onDisk` (the file's value
// now, or the default where the file has none).
Settings MergeSettings(const Settings& ours, const Settings& loaded, const Settings& onDisk);
HtmlOptionValues MergeHtmlOptions(const HtmlOptionValues& ours, const HtmlOptionValues& loaded,
                                  const HtmlOptionValues& onDisk);

// Writes all fifteen keys in their order with one atomic replace of the file, keeping every other
// section and key. The error text is "nach <iniPath> kann nicht geschrieben werden".
Status SaveSettings(const std::string& iniPath, const Settings& settings);

// "nach %s kann nicht geschrieben werden" with the path in place of %s.
std::string SettingsWriteError(const std::string& iniPath);

}  // namespace relicor
