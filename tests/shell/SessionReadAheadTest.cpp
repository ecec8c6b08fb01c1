// The pool commands read item files on worker threads ahead of the thread that reports them; what
// they write and tell must be the same as when one thread reads every file in turn.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "pool/ItemReadAhead.h"
#include "shell/Session.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"
#include "text/DateText.h"

namespace relicor {
namespace {

namespace fs = std::filesystem;
using test::RecordBuilder;
using test::TempDir;

class RecordingUi final : public SessionUi {
 public:
  void Notify(std::string_view message) override { told.emplace_back(message); }
  bool Confirm(std::string_view) override { return true; }
  std::vector<std::string> told;
};

struct ModeGuard {
  explicit ModeGuard(ReadAheadMode mode) { SetReadAheadMode(mode); }
  ~ModeGuard() { SetReadAheadMode(ReadAheadMode::kAuto); }
};

// Item i of the pool: one of a few base items and classes, with its own values.
RecordBuilder Item(int i) {
  static constexpr struct {
    std::uint8_t itemClass, baseItem;
  } kKinds[] = {{12, 151}, {13, 154}, {1, 3}, {2, 60}, {3, 100}};
  const auto& kind = kKinds[i % 5];
  RecordBuilder item;
  item.ident(static_cast<std::uint32_t>(1000 + i)).itemClass(kind.itemClass).baseItem(kind.baseItem);
  item.name(i % 4 == 0 ? "odd name" : "ring").price(100 * (i + 1)).pctDamage(static_cast<std::int16_t>(i));
  item.addStrength(static_cast<std::int16_t>(i % 7)).resFire(static_cast<std::uint8_t>(i % 30));
  return item;
}

// A pool of 40 items in the directory and 12 in a subdirectory: a sidecar for every third item,
// one sidecar that is a link (not read, told), two files too short to be items, two files that
// hold the same item, and (when asked) a FIFO in the middle of the list that cannot be read.
void WritePool(const TempDir& dir, bool withFifo) {
  fs::remove_all(dir.file("pool"));
  fs::remove_all(dir.file("home"));
  dir.mkdir("home");
  for (int i = 0; i < 40; ++i) {
    const std::string stem = "pool/I" + std::to_string(100 + i);
    dir.write(stem + ".ITM", Item(i).bytes());
    if (i % 3 == 0) {
      dir.write(stem + ".IT0", "[Iteminfos]\r\nSenderName=Member" + std::to_string(i) +
                                   "\r\nPoints4Item=1\r\nPoints4ItemAt=0" + std::to_string(1 + i % 9) +
                                   ".11.2026\r\nAddedItem=01.10.2026\r\n");
    }
  }
  fs::create_symlink(dir.file("pool/I100.IT0"), dir.file("pool/I101.IT0"));
  dir.write("pool/I105X.ITM", Item(5).bytes());  // the same item as I105.ITM
  dir.write("pool/I120S.ITM", std::string(399, 'x'));
  dir.write("pool/I130S.itm", "");
  if (withFifo) {
    fs::remove(dir.file("pool/I120.ITM"));
    ASSERT_EQ(::mkfifo(dir.file("pool/I120.ITM").c_str(), 0600), 0);
  }
  for (int i = 0; i < 12; ++i) {
    const std::string stem = "pool/SUB/S" + std::to_string(10 + i);
    dir.write(stem + ".ITM", Item(50 + i).bytes());
    if (i % 3 == 1) dir.write(stem + ".IT0", "[Iteminfos]\r\nSenderName=Sub\r\n");
  }
  // Every file carries the same date in each run: a whole second, taken once, so two runs that
  // straddle a second still write the same file dates into their outputs.
  static const auto date = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() -
                                                                    std::chrono::hours(24 * 30));
  for (const auto& entry : fs::recursive_directory_iterator(dir.file("pool"))) {
    if (entry.is_regular_file() && !entry.is_symlink()) fs::last_write_time(entry.path(), date);
  }
  dir.write("home/RELICOR.INI", "[RELICOR]\r\nPathToPool=" + dir.file("pool") + "\r\n");
}

// Every file of the pool directory tree with its bytes, and what the commands told.
// Without the diagnostic file, the export also gives each item's seed verdict.
std::map<std::string, std::string> RunCommands(const TempDir& dir, bool withFifo, bool options, bool debug) {
  WritePool(dir, withFifo);
  FixedClock clock(*ParseDate("07.12.2026") + 0.5);
  RecordingUi ui;
  std::map<std::string, std::string> seen;
  {
    Session session(dir.file("home") + "/", clock, ui);
    session.Start();
    session.flags().debugFile = debug;
    session.flags().vkMode = options;
    session.flags().additionalInfo = options;
    session.settings().htmlScanSub = true;
    const std::string pool = dir.file("pool");
    auto exported = session.ExportItemList(pool, !debug);
    seen["(export)"] = exported ? *exported : "error: " + exported.error();
    auto published = session.CreatePages(pool);
    seen["(publish)"] = published ? *published : "error: " + published.error();
    auto checked = session.CheckDuplicates();
    seen["(dupecheck)"] = checked ? *checked : "error: " + checked.error();
    if (!withFifo) {
      auto renamed = session.RenameRun();
      seen["(rename)"] = renamed ? *renamed : "error: " + renamed.error();
    }
  }
  for (std::size_t i = 0; i < ui.told.size(); ++i) seen["(told " + std::to_string(i) + ")"] = ui.told[i];
  for (const auto& entry : fs::recursive_directory_iterator(dir.file("pool"))) {
    const std::string name = entry.path().string().substr(dir.path().size());
    seen[name] = entry.is_regular_file() && !entry.is_symlink() ? dir.read(name.substr(1)) : "(not a file)";
  }
  return seen;
}

TEST(SessionReadAheadTest, ThreadsWriteAndTellWhatOneThreadDoes) {
  for (const bool withFifo : {false, true}) {
    for (const auto& [options, debug] :
         {std::pair{false, true}, std::pair{true, true}, std::pair{true, false}}) {
      SCOPED_TRACE(std::string(withFifo ? "unreadable file, " : "") + (options ? "V&K and info" : "plain") +
                   (debug ? ", diagnostics" : ", seed verdicts"));
      TempDir dir;
      std::map<std::string, std::string> one;
      std::map<std::string, std::string> threaded;
      {
        ModeGuard off(ReadAheadMode::kOff);
        one = RunCommands(dir, withFifo, options, debug);
      }
      {
        ModeGuard on(ReadAheadMode::kOn);
        threaded = RunCommands(dir, withFifo, options, debug);
      }
      // The run did what it should, so the comparison means something.
      ASSERT_TRUE(one.contains("/pool/ITMLIST.TXT"));
      ASSERT_EQ(one.contains("/pool/RELICORDBG.TXT"), debug);
      EXPECT_EQ(one["/pool/ITMLIST.TXT"].find("Seed check: ") != std::string::npos, !debug);
      ASSERT_TRUE(one.contains("/pool/DUPECHK.TXT"));
      // An unreadable file stops the export where it stands in the list.
      const bool lastExported = one["/pool/ITMLIST.TXT"].find("File : I139.ITM") != std::string::npos;
      EXPECT_EQ(lastExported, !withFifo);
      EXPECT_EQ(one["(export)"].rfind("error: export stopped", 0) == 0, withFifo) << one["(export)"];
      EXPECT_EQ(one.size(), threaded.size());
      for (const auto& [name, bytes] : one) {
        ASSERT_TRUE(threaded.contains(name)) << name;
        EXPECT_TRUE(threaded[name] == bytes) << name << " differs";
      }
    }
  }
}

}  // namespace
}  // namespace relicor
