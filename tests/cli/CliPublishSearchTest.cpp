// relicor-cli publish --search-page: the search page for one run, the settings file untouched.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/Cli.h"
#include "cli/CliContext.h"
#include "support/RecordBuilder.h"
#include "support/TempDir.h"

namespace relicor::cli {
namespace {

class CliPublishSearchTest : public ::testing::Test {
 protected:
  CliPublishSearchTest() {
    dir.write("pool/RING.ITM",
              test::RecordBuilder().itemClass(12).identified(1).name("ring").price(1).bytes());
    dir.write("home/RELICOR.INI", "[RELICOR]\r\nMailAddress=k@example.org\r\n");
  }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(),
                {"--home", dir.file("home"), "--pool", dir.file("pool"), "--sent", dir.file("sent")});
    out.str("");
    err.str("");
    return RunCli(args, out, err);
  }

  bool Exists(const std::string& name) const { return std::filesystem::exists(dir.file("pool/" + name)); }

  test::TempDir dir;
  std::ostringstream out, err;
};

TEST_F(CliPublishSearchTest, TheFlagAddsTheSearchPageForThisRunOnly) {
  ASSERT_EQ(Run({"publish", dir.file("pool")}), kExitOk) << err.str();
  EXPECT_FALSE(Exists("itm-search.htm"));
  EXPECT_EQ(out.str().find("Search page:"), std::string::npos);

  ASSERT_EQ(Run({"publish", "--search-page", dir.file("pool")}), kExitOk) << err.str();
  for (const char* name : {"itm-search.htm", "itm-search.js", "itm-searchui.js", "itm-search.css"}) {
    EXPECT_TRUE(Exists(name)) << name;
  }
  EXPECT_NE(out.str().find("33 files, 1 items"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("\nSearch page: file://" + dir.file("pool/itm-search.htm") + "\n"),
            std::string::npos)
      << out.str();
  EXPECT_NE(dir.read("pool/itm-search.js").find("k@example.org"), std::string::npos);
  EXPECT_NE(dir.read("pool/itm-IP2.htm").find("itm-search.htm"), std::string::npos);
  EXPECT_EQ(dir.read("home/RELICOR.INI"), "[RELICOR]\r\nMailAddress=k@example.org\r\n");
}

TEST_F(CliPublishSearchTest, TheSettingTurnsItOnAndSeedCheckAddsVerdicts) {
  dir.write("home/RELICOR.INI", "[RELICOR]\r\nSearchPage=1\r\n");
  ASSERT_EQ(Run({"publish", "--seed-check", dir.file("pool")}), kExitOk) << err.str();
  EXPECT_TRUE(Exists("itm-search.htm"));
  EXPECT_NE(dir.read("pool/itm-search.js").find("Seed check: "), std::string::npos);
}

}  // namespace
}  // namespace relicor::cli
