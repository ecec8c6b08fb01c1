// The "Search page" option in RELICOR.INI: our own key, off by default, written only once it has
// been on, so a settings file that never had it is written as before.

#include <gtest/gtest.h>

#include "platform/Settings.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

class SearchPageSettingTest : public ::testing::Test {
 protected:
  std::string programDir() const { return tmp_.path() + "/"; }
  std::string iniPath() const { return SettingsPath(programDir()); }
  std::string Ini() const { return tmp_.read("RELICOR.INI"); }

  test::TempDir tmp_;
};

TEST_F(SearchPageSettingTest, OffAndNeverOnLeavesTheKeyOut) {
  Settings settings = LoadSettings(iniPath(), programDir());
  EXPECT_FALSE(settings.html.searchPage);
  ASSERT_TRUE(SaveSettings(iniPath(), settings));
  EXPECT_EQ(Ini().find("SearchPage"), std::string::npos);
}

TEST_F(SearchPageSettingTest, OnIsWrittenReadAndTurnedOffAgain) {
  Settings settings = LoadSettings(iniPath(), programDir());
  settings.html.searchPage = true;
  ASSERT_TRUE(SaveSettings(iniPath(), settings));
  EXPECT_NE(Ini().find("\r\nHeaderURL1Name=\r\nSearchPage=1\r\n"), std::string::npos) << Ini();
  EXPECT_TRUE(LoadSettings(iniPath(), programDir()).html.searchPage);
  EXPECT_TRUE(LoadHtmlOptionKeys(iniPath(), HtmlOptionValues{}).searchPage);

  settings.html.searchPage = false;
  ASSERT_TRUE(SaveSettings(iniPath(), settings));
  EXPECT_NE(Ini().find("\r\nSearchPage=0\r\n"), std::string::npos) << Ini();
  EXPECT_FALSE(LoadSettings(iniPath(), programDir()).html.searchPage);
}

TEST_F(SearchPageSettingTest, AnotherRunsChangeSurvivesWhenThisRunLeftItAlone) {
  HtmlOptionValues loaded;
  HtmlOptionValues onDisk;
  onDisk.searchPage = true;
  EXPECT_TRUE(MergeHtmlOptions(loaded, loaded, onDisk).searchPage);
  HtmlOptionValues ours;
  ours.searchPage = true;
  EXPECT_TRUE(MergeHtmlOptions(ours, loaded, HtmlOptionValues{}).searchPage);
}

}  // namespace
}  // namespace relicor
