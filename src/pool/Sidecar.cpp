#include "pool/Sidecar.h"

#include "platform/IniFile.h"
#include "text/Path.h"
#include "text/Stri.h"

namespace relicor {

namespace {

DateTime DateOr(const std::optional<std::string>& value, DateTime fallback) {
  if (!value) return fallback;
  return ParseDate(ProfileText(*value)).value_or(fallback);
}

std::string NameValue(const Ini& ini, std::string_view key) {
  return ShortString(ProfileString(ini.Get(kSidecarSection, key), ""), kMemberNameCapacity);
}

}  // namespace

SidecarValues SidecarValuesFromIni(const Ini& ini, DateTime now, DateTime fileDate) {
  SidecarValues values;
  values.senderName = NameValue(ini, kSidecarKeys[0]);
  values.sendTo = NameValue(ini, kSidecarKeys[1]);
  values.points4Item = ProfileBool(ini.Get(kSidecarSection, kSidecarKeys[2]), false);
  values.isPublic = ProfileBool(ini.Get(kSidecarSection, kSidecarKeys[3]), false);
  values.points4ItemAt = DateOr(ini.Get(kSidecarSection, kSidecarKeys[4]), now);
  values.addedItem = DateOr(ini.Get(kSidecarSection, kSidecarKeys[5]), fileDate);
  values.sentAt = DateOr(ini.Get(kSidecarSection, kSidecarKeys[6]), fileDate);
  return values;
}

void PutSidecarValues(Ini& ini, const SidecarValues& values, DateTime today) {
  ini.Set(kSidecarSection, kSidecarKeys[0], values.senderName);
  ini.Set(kSidecarSection, kSidecarKeys[1], values.sendTo);
  ini.Set(kSidecarSection, kSidecarKeys[2], ProfileBoolText(values.points4Item));
  ini.Set(kSidecarSection, kSidecarKeys[3], ProfileBoolText(values.isPublic));
  ini.Set(kSidecarSection, kSidecarKeys[4], SafeDateText(values.points4ItemAt, today));
  ini.Set(kSidecarSection, kSidecarKeys[5], SafeDateText(values.addedItem, today));
  ini.Set(kSidecarSection, kSidecarKeys[6], SafeDateText(values.sentAt, today));
}

SidecarValues ReadSidecar(const std::string& path, DateTime now, DateTime fileDate) {
  auto ini = IniFile(path).Load();
  return SidecarValuesFromIni(ini ? *ini : Ini(), now, fileDate);
}

Status WriteSidecar(const std::string& path, const SidecarValues& values, DateTime today) {
  return IniFile(path).Update([&](Ini& ini) { PutSidecarValues(ini, values, today); });
}

std::string SidecarPathForMove(std::string_view itemPath) {
  const std::size_t nameStart = itemPath.size() - FileNamePart(itemPath).size();
  const std::size_t dot = itemPath.rfind('.');
  const std::string_view stem =
      dot != std::string_view::npos && dot >= nameStart ? itemPath.substr(0, dot) : itemPath;
  return std::string(stem) + std::string(kSidecarExtension);
}

}  // namespace relicor
