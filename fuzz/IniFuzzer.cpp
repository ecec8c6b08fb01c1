// The INI model, the profile reading rules and the sidecar values over any text.
//
// Input: a key selector, the length of a value and the value, then the INI text. The harness
// parses the text, writes it back, reads every key, sets the selected sidecar or settings key to
// the value, and reads and writes the sidecar values.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzInput.h"
#include "platform/Ini.h"
#include "platform/Settings.h"
#include "pool/Sidecar.h"
#include "text/DateText.h"

namespace {

using namespace relicor;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The text with every line end (CR LF, CR, LF) written as CR LF.
std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

struct KeyValue {
  std::string section;
  std::string key;
  std::optional<std::string> value;
};

std::vector<KeyValue> EveryValue(const Ini& ini) {
  std::vector<KeyValue> all;
  for (const std::string& section : ini.Sections()) {
    for (const std::string& key : ini.Keys(section)) all.push_back({section, key, ini.Get(section, key)});
  }
  return all;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string DateOrNothing(DateTime t) {
  return DateText(t).value_or("-");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  const std::uint8_t selector = in.Byte();
  const std::string value(in.Take(in.Byte()));
  const std::string_view text = in.Rest();

  // Written back, the text is the same with CR LF line ends.
  Ini ini = Ini::Parse(text);
  const std::string written = ini.Serialize();
  fuzz::Expect(written == WithCrLf(text), "the text did not survive parsing and writing");

  // Every key that is listed can be read, and the profile rules take every value.
  const std::vector<KeyValue> before = EveryValue(ini);
  for (const KeyValue& kv : before) {
    fuzz::Expect(kv.value.has_value(), "a listed key cannot be read");
    fuzz::Expect(ProfileText(*kv.value).size() <= kProfileTextLimit, "a text longer than the limit");
    if (auto number = ParseProfileInteger(*kv.value)) {
      fuzz::Expect(ParseProfileInteger(std::to_string(*number)) == number, "an integer reads differently");
    }
  }

  // Setting one of the system's own keys changes that key and nothing else.
  const bool sidecarKey = (selector & 0x80) == 0;
  const std::string section(sidecarKey ? kSidecarSection : kSettingsSection);
  const std::string key(sidecarKey ? kSidecarKeys[selector % kSidecarKeyCount]
                                   : kSettingsKeys[selector % kSettingsKeyCount]);
  ini.Set(section, key, value);
  const Ini reread = Ini::Parse(ini.Serialize());
  const std::string expected(Trim(value.substr(0, value.find_first_of("\r\n"))));
  fuzz::Expect(reread.Get(section, key) == expected, "a value that was set reads differently");
  for (const KeyValue& kv : before) {
    if (SameName(kv.section, section) && SameName(kv.key, key)) continue;
    fuzz::Expect(reread.Get(kv.section, kv.key) == kv.value, "setting one key changed another");
  }

  // Sidecar values read from the text, written and read again, stay as they were.
  const DateTime now = EncodeDateTime(CivilDateTime{2026, 12, 5, 12, 0, 0, 0});
  const DateTime fileDate = now - 2.5;
  const SidecarValues first = SidecarValuesFromIni(Ini::Parse(text), now, fileDate);
  Ini sidecar = Ini::Parse(text);
  PutSidecarValues(sidecar, first, now);
  const SidecarValues second = SidecarValuesFromIni(Ini::Parse(sidecar.Serialize()), now, fileDate);
  fuzz::Expect(Trim(second.senderName) == Trim(first.senderName), "the sender changed");
  fuzz::Expect(Trim(second.sendTo) == Trim(first.sendTo), "the receiver changed");
  fuzz::Expect(second.points4Item == first.points4Item && second.isPublic == first.isPublic,
               "a switch changed");
  fuzz::Expect(DateOrNothing(second.points4ItemAt) == DateOrNothing(first.points4ItemAt),
               "the points date changed");
  fuzz::Expect(DateOrNothing(second.addedItem) == DateOrNothing(first.addedItem), "the added date changed");
  fuzz::Expect(DateOrNothing(second.sentAt) == DateOrNothing(first.sentAt), "the sent date changed");
  return 0;
}
