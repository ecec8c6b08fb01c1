#pragma once
// A small publication with every kind of row: real game items of every item type (potions,
// scrolls and books among them), normal, magic and unique ones, two copies of one item, an item
// in a hidden directory and one in a SHORTINF directory, items without bookkeeping, a sent
// directory for the history, members and rules for the entrance page.

#include <set>
#include <string>
#include <vector>

#include "item/ItemRecord.h"
#include "support/GameItems.h"
#include "support/TempDir.h"

namespace relicor::test {

struct SampleFile {
  std::string relPath;  // below the temporary directory: "out/..." or "sent/..."
  ItemRecord record;
  std::string sidecar;  // the IT0 text; empty: none
};

inline std::string SampleSidecar(const std::string& sender, const std::string& added,
                                 const std::string& sentAt = {}, bool points = false) {
  std::string ini = "[Iteminfos]\r\nSenderName=" + sender + "\r\n";
  if (points) ini += "Points4Item=1\r\nPoints4ItemAt=" + added + "\r\n";
  ini += "AddedItem=" + added + "\r\n";
  if (!sentAt.empty()) ini += "SentAt=" + sentAt + "\r\n";
  return ini;
}

// The files of the sample publication (start of the run: 10.03.2026 09:00).
inline std::vector<SampleFile> SamplePublication() {
  std::vector<SampleFile> files;
  const char* senders[] = {"Birte", "Conan", "Olaf"};
  const char* dates[] = {"01.03.2026", "20.02.2026", "05.03.2026", "01.01.2026"};
  std::set<std::pair<int, int>> taken;  // (type, quality) pairs already in the pool
  int n = 0;
  for (const GameItem& item : GameItems()) {
    if (item.type < 0 || item.type > 13 || !taken.insert({item.type, item.quality}).second) continue;
    const std::string name = "out/I" + std::to_string(n) + ".ITM";
    files.push_back(
        {name, GameItemRecord(item),
         n % 5 == 4 ? std::string() : SampleSidecar(senders[n % 3], dates[n % 4], {}, n % 2 == 0)});
    ++n;
  }
  // Two copies of one item, a hidden item, one with short information, two items sent out.
  files.push_back({"out/copy/Copy1.ITM", files[1].record, SampleSidecar("Olaf", "02.03.2026")});
  files.push_back({"out/copy/Copy2.ITM", files[1].record, SampleSidecar("Conan", "03.03.2026")});
  files.push_back({"out/Hidden/H.ITM", files[2].record, SampleSidecar("Olaf", "02.03.2026")});
  files.push_back({"out/ShortInf/S.ITM", files[3].record, SampleSidecar("Birte", "09.03.2026")});
  files.push_back({"sent/A.ITM", files[4].record, SampleSidecar("Birte", "01.02.2026", "01.03.2026")});
  files.push_back({"sent/B.ITM", files[5].record, SampleSidecar("Conan", "01.02.2026", "08.03.2026")});
  return files;
}

inline void WriteSamplePublication(const TempDir& tmp) {
  for (const SampleFile& file : SamplePublication()) {
    tmp.write(file.relPath, std::string(file.record.view()));
    if (!file.sidecar.empty())
      tmp.write(file.relPath.substr(0, file.relPath.size() - 3) + "IT0", file.sidecar);
  }
  tmp.write("pool/rules.txt", "Rule one\r\nRule <b>two</b>\r\n");
}

inline const std::vector<std::string> kSampleMembers = {"Birte", "Conan", "Olaf"};

}  // namespace relicor::test
