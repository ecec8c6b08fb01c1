#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliContext.h"
#include "generate/SeedCheck.h"
#include "pool/ItemReadAhead.h"
#include "support/GameItems.h"
#include "support/TempDir.h"

namespace relicor::cli {
namespace {

using test::TempDir;

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

const test::GameItem& ItemBySeed(std::uint32_t seed) {
  for (const auto& item : test::GameItems())
    if (item.seed == seed) return item;
  throw std::runtime_error("no test item");
}

// A genuine sword, the same sword with its price and %damage raised, a file that is too short
// and a record no generator makes (an unknown base item).
class CliVerifyTest : public ::testing::Test {
 protected:
  CliVerifyTest() {
    home = dir.mkdir("home");
    ItemRecord sword = test::GameItemRecord(ItemBySeed(545145866u));
    genuine = dir.write("GENUINE.ITM", std::string(sword.view()));
    test::RecordEdit(sword).i32(offset::kPrice, 13120).i32(offset::kPctDamage, 95);
    edited = dir.write("EDITED.ITM", std::string(sword.view()));
    test::RecordEdit(sword).i32(offset::kBaseItem, 200);
    ear = dir.write("EAR.ITM", std::string(sword.view()));
    tooShort = dir.write("SHORT.ITM", "tiny");
  }

  CliRun Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home});
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
  }

  TempDir dir;
  std::string home, genuine, edited, ear, tooShort;
};

TEST_F(CliVerifyTest, GenuineFilesExitZero) {
  const auto run = Cli({"verify", genuine});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out, genuine + ": genuine\n1 genuine, 0 edited, 0 not reproducible, 0 not item files\n");
}

TEST_F(CliVerifyTest, OneLinePerFileAndExitOneWhenAnyIsNotGenuine) {
  const auto run = Cli({"verify", genuine, edited, ear, tooShort});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.out, genuine + ": genuine\n" + edited +
                         ": edited: price file 13120, game 13119; %damage file 95, game 91\n" + ear +
                         ": not reproducible: base item 200 does not exist in 1.09\n" + tooShort +
                         ": not an item file\n1 genuine, 1 edited, 1 not reproducible, 1 not item files\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(CliVerifyTest, UnreadableFileIsAnErrorNamingIt) {
  const std::string missing = dir.file("NONE.ITM");
  const auto run = Cli({"verify", missing, genuine});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_NE(run.err.find("NONE.ITM"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, genuine + ": genuine\n1 genuine, 0 edited, 0 not reproducible, 1 not item files\n");
}

TEST_F(CliVerifyTest, UsageErrors) {
  EXPECT_EQ(Cli({"verify"}).status, kExitUsage);
  EXPECT_EQ(Cli({"verify", "--json"}).status, kExitUsage);
  EXPECT_EQ(Cli({"verify", "--yaml", genuine}).status, kExitUsage);
}

TEST_F(CliVerifyTest, JsonIsOneArrayWithTheDocumentedShape) {
  const auto run = Cli({"verify", "--json", genuine, edited, ear, tooShort});
  EXPECT_EQ(run.status, kExitFailed);
  const auto list = nlohmann::json::parse(run.out);
  ASSERT_TRUE(list.is_array());
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0]["file"], genuine);
  EXPECT_EQ(list[0]["verdict"], "genuine");
  EXPECT_TRUE(list[0]["differences"].empty());
  EXPECT_EQ(list[1]["verdict"], "edited");
  ASSERT_EQ(list[1]["differences"].size(), 2u);
  EXPECT_EQ(list[1]["differences"][0],
            (nlohmann::json{{"field", "price"}, {"file", "13120"}, {"game", "13119"}}));
  EXPECT_EQ(list[1]["differences"][1]["field"], "%damage");
  EXPECT_EQ(list[2]["verdict"], "not-reproducible");
  EXPECT_EQ(list[3]["verdict"], "not-an-item");
}

TEST_F(CliVerifyTest, ExportAppendsAVerdictLineOnlyWhenAsked) {
  const std::string pool = dir.mkdir("pool");
  dir.write("pool/GENUINE.ITM", dir.read("GENUINE.ITM"));
  dir.write("pool/EDITED.ITM", dir.read("EDITED.ITM"));
  auto run = Cli({"export", pool});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const std::string plain = dir.read("pool/ITMLIST.TXT");
  EXPECT_EQ(plain.find("Seed check"), std::string::npos);

  run = Cli({"export", "--seed-check", pool});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const std::string checked = dir.read("pool/ITMLIST.TXT");
  const std::string editedLine =
      "Seed check: edited: price file 13120, game 13119; %damage file 95, game 91\r\n";
  const std::string genuineLine = "Seed check: genuine\r\n";
  // The same reports, each followed by its verdict: EDITED.ITM first, then GENUINE.ITM.
  const auto split = plain.find("File : GENUINE.ITM");
  ASSERT_NE(split, std::string::npos);
  EXPECT_EQ(checked, plain.substr(0, split) + editedLine + plain.substr(split) + genuineLine);
}

}  // namespace
}  // namespace relicor::cli

namespace relicor::cli {
namespace {

// A pool with a genuine and an edited item, a subdirectory with one more, a text file that is
// not an item, and Wirt's club whose maximum durability four Hidden shrines raised.
class CliVerifyPoolTest : public CliVerifyTest {
 protected:
  CliVerifyPoolTest() {
    pool = dir.mkdir("pool");
    dir.mkdir("pool/sub");
    dir.write("pool/A.ITM", dir.read("GENUINE.ITM"));
    dir.write("pool/B.itm", dir.read("EDITED.ITM"));
    dir.write("pool/NOTES.TXT", "not an item");
    dir.write("pool/sub/C.ITM", dir.read("GENUINE.ITM"));
    club = dir.write("CLUB.ITM", std::string(test::GameItemRecord(ItemBySeed(1452181783u)).view()));
  }
  std::string pool, club;
};

TEST_F(CliVerifyPoolTest, ADirectoryIsItsItemFilesAndSubdirectoriesOnlyWhenAsked) {
  auto run = Cli({"verify", pool});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.out, pool + "/A.ITM: genuine\n" + pool +
                         "/B.itm: edited: price file 13120, game 13119; %damage file 95, game 91\n"
                         "1 genuine, 1 edited, 0 not reproducible, 0 not item files\n");
  run = Cli({"verify", "--recursive", pool});
  EXPECT_EQ(run.out, pool + "/A.ITM: genuine\n" + pool +
                         "/B.itm: edited: price file 13120, game 13119; %damage file 95, game 91\n" + pool +
                         "/sub/C.ITM: genuine\n2 genuine, 1 edited, 0 not reproducible, 0 not item files\n");
}

TEST_F(CliVerifyPoolTest, JsonListsAMissingFileAsAnEntryWithItsReason) {
  const std::string missing = dir.file("NONE.ITM");
  const auto run = Cli({"verify", "--json", missing, genuine});
  EXPECT_EQ(run.status, kExitFailed);
  const auto list = nlohmann::json::parse(run.out);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]["file"], missing);
  EXPECT_EQ(list[0]["verdict"], "not-an-item");
  EXPECT_NE(list[0]["reason"].get<std::string>().find("NONE.ITM"), std::string::npos) << list[0]["reason"];
  EXPECT_EQ(list[1]["verdict"], "genuine");
}

TEST_F(CliVerifyPoolTest, PlayStateIsGenuineAndMaxStepsTurnsItEdited) {
  auto run = Cli({"verify", club});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.out,
            club +
                ": genuine (single player; play state: maximum durability +40, at least 4 Hidden shrines)\n"
                "1 genuine, 0 edited, 0 not reproducible, 0 not item files\n");
  run = Cli({"verify", "--json", club});
  const auto list = nlohmann::json::parse(run.out);
  EXPECT_EQ(list[0]["verdict"], "genuine");
  EXPECT_EQ(list[0]["playState"][0], (nlohmann::json{{"field", "max durability"},
                                                     {"file", "60"},
                                                     {"game", "20"},
                                                     {"how", "at least 4 Hidden shrines"},
                                                     {"steps", 4}}));
  run = Cli({"verify", "--max-steps", "3", club});
  EXPECT_EQ(run.status, kExitFailed);
  EXPECT_EQ(run.out, club +
                         ": edited: play state 4 steps (at most 3 allowed) (single player)\n"
                         "0 genuine, 1 edited, 0 not reproducible, 0 not item files\n");
  EXPECT_EQ(Cli({"verify", "--max-steps=4", club}).status, kExitOk);
  EXPECT_EQ(Cli({"verify", "--max-steps", "-1", club}).status, kExitUsage);
}

TEST_F(CliVerifyPoolTest, JsonNamesTheGamesWhereTheyDecide) {
  const auto book = dir.write("BOOK.ITM", std::string(test::GameItemRecord(ItemBySeed(309674341u)).view()));
  const auto list = nlohmann::json::parse(Cli({"verify", "--json", book, genuine}).out);
  EXPECT_EQ(list[0]["game"], nlohmann::json::array({"multiplayer"}));
  EXPECT_FALSE(list[1].contains("game"));
}

// Each argument in its place: a directory (or a link to one) is its files, a file longer than a
// record is its first 400 bytes; what is no regular file (a FIFO, a device, a link to a file)
// is an error naming it, and nothing waits for a FIFO. Read ahead or one at a time, alike.
TEST_F(CliVerifyPoolTest, EachArgumentIsToldInItsPlaceWhateverItIs) {
  std::filesystem::create_directory_symlink(pool, dir.file("linked-pool"));
  std::filesystem::create_symlink(genuine, dir.file("LINK.ITM"));
  ASSERT_EQ(::mkfifo(dir.file("FIFO.ITM").c_str(), 0644), 0);
  const std::string longer = dir.write("LONGER.ITM", dir.read("GENUINE.ITM") + "tail");
  const std::string edits = "edited: price file 13120, game 13119; %damage file 95, game 91\n";
  const std::string listed = pool + "/A.ITM: genuine\n" + pool + "/B.itm: " + edits;
  const std::string linked = dir.file("linked-pool");
  std::vector<std::string> args{
      "verify", genuine, pool, dir.file("FIFO.ITM"), linked, longer, dir.file("LINK.ITM"), "/dev/zero"};
  for (int copy = 0; copy < 3; ++copy) args.push_back(edited);  // enough files for the read-ahead
  for (const ReadAheadMode mode : {ReadAheadMode::kOn, ReadAheadMode::kOff}) {
    SetReadAheadMode(mode);
    const auto run = Cli(args);
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(run.out, genuine + ": genuine\n" + listed + linked + "/A.ITM: genuine\n" + linked +
                           "/B.itm: " + edits + longer + ": genuine\n" + edited + ": " + edits + edited +
                           ": " + edits + edited + ": " + edits +
                           "4 genuine, 5 edited, 0 not reproducible, 3 not item files\n");
    EXPECT_NE(run.err.find("cannot read " + dir.file("FIFO.ITM") + ": not a regular file"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(dir.file("LINK.ITM") + " is a symbolic link: not followed"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("cannot read /dev/zero: not a regular file"), std::string::npos) << run.err;
  }
  SetReadAheadMode(ReadAheadMode::kAuto);
}

}  // namespace
}  // namespace relicor::cli
