#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliContext.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace relicor::cli {
namespace {

using test::RecordBuilder;
using test::TempDir;

class CliSendersTest : public ::testing::Test {
 protected:
  CliSendersTest() : home(dir.mkdir("home")), pool(dir.mkdir("pool")), sent(dir.mkdir("sent")) {
    dir.write("pool/PLAYERS.TXT", "alice\r\nbob\r\n");
    Item("pool/A.ITM", "alice", "01.12.2026", true);
    Item("pool/B.ITM", "alice", "30.11.2026");
    Item("sent/C.ITM", "J\xF6rg", "02.12.2026");  // handed out since, and not a member
  }

  void Item(const std::string& relative, const std::string& sender, const std::string& added,
            bool points = false) {
    dir.write(relative, RecordBuilder().ident(++ident).itemClass(1).bytes());
    dir.write(relative.substr(0, relative.size() - 3) + "IT0", "[Iteminfos]\r\nSenderName=" + sender +
                                                                   "\r\nPoints4Item=" + (points ? "1" : "0") +
                                                                   "\r\nAddedItem=" + added + "\r\n");
  }

  struct Run {
    int status;
    std::string out;
    std::string err;
  };
  Run Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home, "--pool", pool, "--sent", sent});
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
  }

  TempDir dir;
  std::string home, pool, sent;
  std::uint32_t ident = 0x500;
};

TEST_F(CliSendersTest, JsonListsEachSenderWithMembershipAndWritesTheFile) {
  const Run run = Cli({"senders", "--since", "01.12.2026", "--json"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  const auto shape = nlohmann::json::parse(run.out);
  EXPECT_EQ(shape["since"], "01.12.2026");
  EXPECT_EQ(shape["file"], pool + "/SENDERS.TXT");
  ASSERT_EQ(shape["senders"].size(), 2u);
  EXPECT_EQ(shape["senders"][0],
            (nlohmann::json{{"name", "alice"}, {"member", true}, {"items", 1}, {"points", 1}}));
  EXPECT_EQ(shape["senders"][1],
            (nlohmann::json{{"name", "J\xC3\xB6rg"}, {"member", false}, {"items", 1}, {"points", 0}}));
  EXPECT_EQ(shape["withoutSender"], (nlohmann::json{{"items", 0}, {"points", 0}}));
  EXPECT_EQ(shape["total"], (nlohmann::json{{"items", 2}, {"points", 1}}));
  EXPECT_NE(dir.read("pool/SENDERS.TXT").find("J\xF6rg (not a member)"), std::string::npos);
}

TEST_F(CliSendersTest, WithoutSinceEveryItemCountsAndTheTableIsPrinted) {
  const Run run = Cli({"senders"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("alice                                     2       1\n"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("J\xC3\xB6rg (not a member)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Senderlist in " + pool + "/SENDERS.TXT\n"), std::string::npos);
  EXPECT_EQ(run.out.find('\r'), std::string::npos);
}

TEST_F(CliSendersTest, ABadDateIsAUsageErrorAndWritesNothing) {
  for (const std::string date : {"2026-12-01", "31.02.2026", ""}) {
    const Run run = Cli({"senders", "--since", date});
    EXPECT_EQ(run.status, kExitUsage) << date;
    EXPECT_NE(run.err.find("--since: not a date (dd.mm.yyyy): " + date), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(pool + "/SENDERS.TXT"));
}

}  // namespace
}  // namespace relicor::cli
