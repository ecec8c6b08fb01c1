#include "platform/Settings.h"

#include "platform/IniFile.h"
#include "text/ByteText.h"

namespace relicor {

namespace {

// The four main window keys come first, then the option keys in their own order.
constexpr std::size_t kFirstOptionKey = kSettingsKeyCount - kHtmlOptionKeyCount;
constexpr std::string_view kPathToPoolKey = kSettingsKeys[0];
constexpr std::string_view kPathToSentKey = kSettingsKeys[1];
constexpr std::string_view kHtmlScanSubKey = kSettingsKeys[2];
constexpr std::string_view kMailAddressKey = kSettingsKeys[3];

constexpr bool OptionKeysFollowInOrder() {
  for (std::size_t i = 0; i < kHtmlOptionKeyCount; ++i) {
    if (kSettingsKeys[kFirstOptionKey + i] != kHtmlOptionKeys[i].key) return false;
  }
  return kFirstOptionKey == 4;
}
static_assert(OptionKeysFollowInOrder());

HtmlOptionValues ReadHtmlOptions(const Ini& ini, const HtmlOptionValues& defaults) {
  HtmlOptionValues values;
  for (const HtmlOptionKey& option : kHtmlOptionKeys) {
    values.*option.field = ProfileString(ini.Get(kSettingsSection, option.key), defaults.*option.field);
  }
  values.searchPage = ProfileBool(ini.Get(kSettingsSection, kSearchPageKey), defaults.searchPage);
  return values;
}

// An unreadable file reads like a missing one: every key gives its default.
Ini LoadOrEmpty(const std::string& iniPath, std::string* problem = nullptr) {
  auto ini = IniFile(iniPath).Load();
  if (!ini && problem != nullptr) *problem = ini.error() + ": the settings are not read from it";
  return ini ? *ini : Ini();
}

}  // namespace

std::string SettingsPath(const std::string& programDir) {
  return programDir + std::string(kSettingsFileName);
}

Settings DefaultSettings(const std::string& programDir) {
  Settings settings;
  settings.pathToPool = programDir + "POOL";
  settings.pathToSent = programDir + "ITMOUT";
  return settings;
}

Settings LoadSettings(const std::string& iniPath, const std::string& programDir, std::string* problem) {
  const Ini ini = LoadOrEmpty(iniPath, problem);
  const Settings defaults = DefaultSettings(programDir);
  Settings settings;
  // The directories are kept whole: one longer than a directory setting may be (255 characters)
  // is refused by the session, never used cut.
  settings.pathToPool = ProfileString(ini.Get(kSettingsSection, kPathToPoolKey), defaults.pathToPool);
  settings.pathToSent = ProfileString(ini.Get(kSettingsSection, kPathToSentKey), defaults.pathToSent);
  settings.htmlScanSub = ProfileBool(ini.Get(kSettingsSection, kHtmlScanSubKey), defaults.htmlScanSub);
  settings.mailAddress = ProfileString(ini.Get(kSettingsSection, kMailAddressKey), defaults.mailAddress);
  settings.html = ReadHtmlOptions(ini, defaults.html);
  return settings;
}

HtmlOptionValues LoadHtmlOptionKeys(const std::string& iniPath, const HtmlOptionValues& current) {
  return ReadHtmlOptions(LoadOrEmpty(iniPath), current);
}

namespace {

template <typename T>
void TakeUnchanged(T& ours, const T& loaded, const T& onDisk) {
  if (ours == loaded) ours = onDisk;
}

}  // namespace

HtmlOptionValues MergeHtmlOptions(const HtmlOptionValues& ours, const HtmlOptionValues& loaded,
                                  const HtmlOptionValues& onDisk) {
  HtmlOptionValues merged = ours;
  for (const HtmlOptionKey& option : kHtmlOptionKeys)
    TakeUnchanged(merged.*option.field, loaded.*option.field, onDisk.*option.field);
  TakeUnchanged(merged.searchPage, loaded.searchPage, onDisk.searchPage);
  return merged;
}

Settings MergeSettings(const Settings& ours, const Settings& loaded, const Settings& onDisk) {
  Settings merged = ours;
  TakeUnchanged(merged.pathToPool, loaded.pathToPool, onDisk.pathToPool);
  TakeUnchanged(merged.pathToSent, loaded.pathToSent, onDisk.pathToSent);
  TakeUnchanged(merged.htmlScanSub, loaded.htmlScanSub, onDisk.htmlScanSub);
  TakeUnchanged(merged.mailAddress, loaded.mailAddress, onDisk.mailAddress);
  merged.html = MergeHtmlOptions(ours.html, loaded.html, onDisk.html);
  return merged;
}

std::string SettingsWriteError(const std::string& iniPath) {
  return "nach " + iniPath + " kann nicht geschrieben werden";
}

Status SaveSettings(const std::string& iniPath, const Settings& settings) {
  const Status written = IniFile(iniPath).Update([&](Ini& ini) {
    ini.Set(kSettingsSection, kPathToPoolKey, settings.pathToPool);
    ini.Set(kSettingsSection, kPathToSentKey, settings.pathToSent);
    ini.Set(kSettingsSection, kHtmlScanSubKey, ProfileBoolText(settings.htmlScanSub));
    ini.Set(kSettingsSection, kMailAddressKey, settings.mailAddress);
    for (const HtmlOptionKey& option : kHtmlOptionKeys) {
      ini.Set(kSettingsSection, option.key, settings.html.*option.field);
    }
    if (settings.html.searchPage || ini.Get(kSettingsSection, kSearchPageKey)) {
      ini.Set(kSettingsSection, kSearchPageKey, ProfileBoolText(settings.html.searchPage));
    }
  });
  if (!written) return MakeError(SettingsWriteError(iniPath));
  return {};
}

}  // namespace relicor
