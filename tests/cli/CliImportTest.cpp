// relicor-cli import: save games into the pool, as the keeper runs it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliContext.h"
#include "cli/KilledRun.h"
#include "item/ItemRecord.h"
#include "pool/MoveJournal.h"
#include "saves/SaveGame.h"
#include "support/SaveBuilder.h"
#include "support/TempDir.h"

namespace relicor::cli {
namespace {

using test::HeroBuilder;
using test::PackOf;
using test::TempDir;

struct ImportRun {
  int status;
  std::string out;
  std::string err;
};

class CliImportTest : public ::testing::Test {
 protected:
  CliImportTest() : home(dir.mkdir("home")), pool(dir.mkdir("pool")) {}

  ImportRun Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home, "--pool", pool});
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
  }

  // A single player hero with a sword worn, two items in the inventory (and a ghost after the
  // count) and a potion in the belt.
  std::string Hero(const std::string& name, const std::string& heroName = "Gorefeast",
                   std::int32_t seed = 1000) {
    HeroBuilder hero;
    hero.name(heroName)
        .body(4, PackOf(3, 20, seed + 1))
        .inventory(0, PackOf(50, 20, seed + 2))
        .inventory(1, PackOf(60, 20, seed + 3))
        .inventory(2, PackOf(70, 20, seed + 4))
        .inventoryCount(2)
        .belt(0, PackOf(24, 20, seed + 5));
    const std::string path = dir.file(name);
    test::WriteSave(path, {{"hero", test::Encoded(hero.bytes(), "xrgyrkj1")}});
    return path;
  }

  std::set<std::string> PoolFiles() const { return test::FileNames(pool); }

  std::set<std::string> ItemFiles() const {
    std::set<std::string> items;
    for (const std::string& name : PoolFiles())
      if (name.size() > 4 && name.substr(name.size() - 4) == ".ITM") items.insert(name);
    return items;
  }

  TempDir dir;
  std::string home;
  std::string pool;
};

// The name the rename run gives an item: its name without blanks and apostrophes, a number.
std::string ExpectedName(std::int32_t base, std::int32_t seed, int number) {
  std::string name = gen::GenerateItem(base, 20, seed, gen::GameMode::kSinglePlayer).item->identifiedName;
  std::erase(name, ' ');
  std::erase(name, '\'');
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04d", number);
  return name + digits + ".ITM";
}

TEST_F(CliImportTest, ImportsEachItemOnceWithItsSidecar) {
  const std::string save = Hero("single_0.sv");
  ImportRun run = Cli({"import", save});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const std::set<std::string> items = ItemFiles();
  EXPECT_EQ(items.size(), 4u);  // no ghost
  const std::string sword = ExpectedName(50, 1002, 1);
  ASSERT_TRUE(items.count(sword)) << run.out;
  const std::string record = dir.read("pool/" + sword);
  ASSERT_EQ(record.size(), kItemRecordSize);
  EXPECT_EQ(record.substr(0, 4), "ITM0");
  const std::string sidecar = dir.read("pool/" + sword.substr(0, sword.size() - 3) + "IT0");
  EXPECT_NE(sidecar.find("SenderName=Gorefeast\r\n"), std::string::npos) << sidecar;
  EXPECT_NE(sidecar.find("AddedItem="), std::string::npos);
  EXPECT_NE(run.out.find("imported as " + pool + "/" + sword), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("4 imported, 0 already in the pool, 0 skipped"), std::string::npos) << run.out;
  for (const std::string& name : PoolFiles()) EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;

  // The same save again brings nothing.
  const auto before = PoolFiles();
  run = Cli({"import", save});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(PoolFiles(), before);
  EXPECT_NE(run.out.find("0 imported, 4 already in the pool"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("already in the pool: "), std::string::npos);
}

TEST_F(CliImportTest, DryRunNumbersAndSelectTakesOnlyThose) {
  const std::string save = Hero("h.sv");
  ImportRun run = Cli({"import", "--dry-run", save});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_TRUE(ItemFiles().empty());
  EXPECT_NE(run.out.find("  2 inventory 1: "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("would be imported as"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("4 would be imported"), std::string::npos) << run.out;

  run = Cli({"import", "--select", "2,4", "--sender", "Keeperin", save});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const auto items = ItemFiles();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_TRUE(items.count(ExpectedName(50, 1002, 1)));
  const std::string sidecar =
      dir.read("pool/" + ExpectedName(50, 1002, 1).substr(0, ExpectedName(50, 1002, 1).size() - 3) + "IT0");
  EXPECT_NE(sidecar.find("SenderName=Keeperin\r\n"), std::string::npos) << sidecar;
  EXPECT_NE(run.out.find("not selected"), std::string::npos);
}

TEST_F(CliImportTest, NamesFollowTheItemsAlreadyThere) {
  // A second hero with the same kind of item gets the next number.
  ImportRun run = Cli({"import", Hero("a.sv", "Alpha", 1000)});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  run = Cli({"import", Hero("b.sv", "Beta", 5000)});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(ItemFiles().size(), 8u);
}

TEST_F(CliImportTest, IntoMustLieInsideThePool) {
  const std::string save = Hero("h.sv");
  const std::string inside = dir.mkdir("pool/new");
  ImportRun run = Cli({"import", "--into", inside, save});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(test::FileNames(inside).size(), 8u);  // items and sidecars

  const std::string outside = dir.mkdir("elsewhere");
  run = Cli({"import", "--into", outside, Hero("other.sv", "Other", 9000)});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("not inside the pool directory"), std::string::npos) << run.err;
  EXPECT_TRUE(test::FileNames(outside).empty());
}

TEST_F(CliImportTest, ARefusedSaveIsToldAndTheOthersAreImported) {
  const std::string bad = dir.write("broken.sv", "this is not an archive at all, only some text");
  const std::string good = Hero("good.sv");
  ImportRun run = Cli({"import", bad, good});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find(bad + ": not a save game"), std::string::npos) << run.err;
  EXPECT_EQ(ItemFiles().size(), 4u);
  EXPECT_NE(run.out.find("1 save refused"), std::string::npos) << run.out;
}

TEST_F(CliImportTest, BadInputLeavesThePoolUnchanged) {
  const std::string hero = HeroBuilder().name("X").body(0, PackOf(50, 20, 1)).bytes();
  std::vector<std::string> saves;
  saves.push_back(dir.write("text.sv", "no archive here, just words and more words"));
  test::WriteSave(dir.file("cut.sv"), {{"hero", test::Encoded(hero, "xrgyrkj1")}});
  const std::string whole = dir.read("cut.sv");
  saves.push_back(dir.write("cut.sv", whole.substr(0, whole.size() / 2)));
  test::WriteSave(dir.file("nohero.sv"), {{"game", test::Encoded("RETL", "xrgyrkj1")}});
  saves.push_back(dir.file("nohero.sv"));
  test::WriteSave(dir.file("pw.sv"), {{"hero", test::Encoded(hero, "nothing1")}});
  saves.push_back(dir.file("pw.sv"));
  test::WriteSave(dir.file("hf.sv"),
                  {{"hero", test::Encoded(HeroBuilder().name("H").byte(1216, 1).bytes(), "xrgyrkj1")}});
  saves.push_back(dir.file("hf.sv"));
  saves.push_back(dir.mkdir("adir.sv"));
  saves.push_back(dir.file("gone.sv"));
  const auto before = PoolFiles();
  for (const std::string& save : saves) {
    ImportRun run = Cli({"import", save});
    EXPECT_EQ(run.status, kExitFailed) << save;
    EXPECT_EQ(run.err.rfind("relicor-cli: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(save), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(PoolFiles(), before) << save;
  }
}

TEST_F(CliImportTest, UsageErrors) {
  EXPECT_EQ(Cli({"import"}).status, kExitUsage);
  EXPECT_EQ(Cli({"import", "--select", "two", Hero("h.sv")}).status, kExitUsage);
  EXPECT_EQ(Cli({"import", "--select", "0", Hero("h.sv")}).status, kExitUsage);
  EXPECT_TRUE(ItemFiles().empty());
  // A number no item has: told, nothing written.
  const ImportRun run = Cli({"import", "--select", "2,5", Hero("h.sv")});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("no item numbered 5 (the saves hold 4 items"), std::string::npos) << run.err;
  EXPECT_TRUE(ItemFiles().empty());
}

TEST_F(CliImportTest, StashItemsComeInAsStoredWithTheSenderNamed) {
  std::vector<std::string> items;
  for (int i = 0; i < 3; ++i)
    items.push_back(
        test::StoredItem(*gen::GenerateItem(50 + i, 20, 300 + i, gen::GameMode::kMultiplayer).item));
  test::StashPage page{4, std::vector<std::uint16_t>(100, 0)};
  page.cells = {1, 2, 3};
  page.cells.resize(100);
  const std::string stash = dir.file("stash.sv");
  test::WriteSave(stash, {{"mpstashitems", test::Encoded(test::StashFile({page}, items), "szqnlsk1")}});
  const ImportRun run = Cli({"import", "--sender", "Keeperin", stash});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("multiplayer stash (DevilutionX), sender Keeperin"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("1 stash page 5: "), std::string::npos) << run.out;
  ASSERT_EQ(ItemFiles().size(), 3u);
  for (const std::string& name : ItemFiles()) {
    const std::string record = dir.read("pool/" + name);
    EXPECT_TRUE(std::find(items.begin(), items.end(), record.substr(32)) != items.end()) << name;
    EXPECT_NE(dir.read("pool/" + name.substr(0, name.size() - 3) + "IT0").find("SenderName=Keeperin\r\n"),
              std::string::npos);
  }
}

TEST_F(CliImportTest, JsonListsEverySaveAndItem) {
  const std::string bad = dir.write("bad.sv", "not an archive, not at all, really not");
  ImportRun run = Cli({"import", "--json", "--dry-run", Hero("h.sv"), bad});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.out.find("\"outcome\": \"imported\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"hero\": \"Gorefeast\""), std::string::npos);
  EXPECT_NE(run.out.find("\"kind\": \"single player hero\""), std::string::npos);
  EXPECT_NE(run.out.find("\"error\": "), std::string::npos);
  EXPECT_NE(run.out.find("\"dryRun\": true"), std::string::npos);
}

// Killed at every rename, removal and flush, the import leaves each item whole beside its own
// sidecar once the next command has repaired the pool, and a second import completes the set.
TEST_F(CliImportTest, KilledAtEveryPointLeavesEveryItemWholeWithItsSidecar) {
  const std::string save = Hero("k.sv");
  // The items and sidecars a run that is not killed writes.
  std::map<std::string, std::string> complete;
  {
    ImportRun run = Cli({"import", save});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    for (const std::string& name : PoolFiles()) complete[name] = dir.read("pool/" + name);
    for (const std::string& name : PoolFiles()) ASSERT_EQ(::unlink((pool + "/" + name).c_str()), 0);
  }
  for (int killAt = 1;; ++killAt) {
    const bool killed = KilledRun({"--home", home, "--pool", pool, "import", save}, killAt);

    // The next command's lock repairs; then every item there stands whole beside its own
    // sidecar, and nothing else is left.
    {
      auto held = LockPool(pool);
      ASSERT_TRUE(held) << held.error();
    }
    for (const std::string& name : PoolFiles()) {
      ASSERT_TRUE(complete.count(name)) << "kill point " << killAt << ": left " << name;
      EXPECT_EQ(dir.read("pool/" + name), complete[name]) << "kill point " << killAt << ": " << name;
      // Each item beside its sidecar, and each sidecar beside its item.
      const std::string partner = name.substr(0, name.size() - 3) + (name.ends_with(".ITM") ? "IT0" : "ITM");
      EXPECT_TRUE(PoolFiles().count(partner)) << "kill point " << killAt << ": " << name << " alone";
    }
    ImportRun next = Cli({"import", save});
    ASSERT_EQ(next.status, kExitOk) << "kill point " << killAt << ": " << next.err;
    std::map<std::string, std::string> now;
    for (const std::string& name : PoolFiles()) now[name] = dir.read("pool/" + name);
    ASSERT_EQ(now.size(), complete.size()) << "kill point " << killAt;
    for (const auto& [name, content] : complete) {
      ASSERT_TRUE(now.count(name)) << "kill point " << killAt << ": " << name << " missing";
      if (name.ends_with(".ITM")) {
        EXPECT_EQ(now[name], content) << "kill point " << killAt << ": " << name;
      }
    }
    for (const std::string& name : PoolFiles()) ASSERT_EQ(::unlink((pool + "/" + name).c_str()), 0);
    if (!killed) break;
    ASSERT_LT(killAt, 500) << "the import never ends";
  }
}

}  // namespace
}  // namespace relicor::cli
