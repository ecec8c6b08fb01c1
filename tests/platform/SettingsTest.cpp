#include <gtest/gtest.h>

#include <filesystem>

#include "platform/IniFile.h"
#include "platform/Settings.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;

class SettingsTest : public ::testing::Test {
 protected:
  std::string programDir() const { return tmp_.path() + "/"; }
  std::string iniPath() const { return SettingsPath(programDir()); }
  void WriteIni(std::string_view text) const { tmp_.write("RELICOR.INI", text); }

  TempDir tmp_;
};

TEST_F(SettingsTest, FirstRunGivesDefaultsAndSaveWritesAllFifteenKeysInOrder) {
  const Settings settings = LoadSettings(iniPath(), programDir());
  EXPECT_EQ(settings.pathToPool, programDir() + "POOL");
  EXPECT_EQ(settings.pathToSent, programDir() + "ITMOUT");
  EXPECT_TRUE(settings.htmlScanSub);
  EXPECT_EQ(settings.mailAddress, "");
  EXPECT_EQ(settings.html, HtmlOptionValues{});

  ASSERT_TRUE(SaveSettings(iniPath(), settings));
  EXPECT_EQ(tmp_.read("RELICOR.INI"),
            "[RELICOR]\r\n"
            "PathToPool=" +
                programDir() +
                "POOL\r\n"
                "PathToSent=" +
                programDir() +
                "ITMOUT\r\n"
                "HTMLScanSub=1\r\n"
                "MailAddress=\r\n"
                "HTML_Fontface=arial\r\n"
                "HTML_Fontsize=10pt\r\n"
                "HTML_Fontsize2=8pt\r\n"
                "HTML_Color=#C0C0C0\r\n"
                "HTML_BGColor=#000000\r\n"
                "HTML_LinkColor=#C00000\r\n"
                "HTML_INV1Color=#F0F0F0\r\n"
                "HTML_INV1BGColor=#606000\r\n"
                "filePrefix=itm\r\n"
                "HeaderURL1=\r\n"
                "HeaderURL1Name=\r\n");
  EXPECT_EQ(LoadSettings(iniPath(), programDir()), settings);
}

TEST_F(SettingsTest, SubdirectoriesFlagFollowsTheIntegerRule) {
  struct Case {
    const char* line;
    bool expected;
  };
  const Case cases[] = {{"HTMLScanSub=0x0", false},
                        {"HTMLScanSub=abc", true},
                        {"HTMLScanSub=2", true},
                        {"HTMLScanSub=", true},
                        {"htmlscansub=0", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    WriteIni(std::string("[relicor]\r\n") + c.line + "\r\n");
    EXPECT_EQ(LoadSettings(iniPath(), programDir()).htmlScanSub, c.expected);
  }
}

TEST_F(SettingsTest, PresentButEmptyIsEmptyAndDirectoriesAreNeverCut) {
  WriteIni("[RELICOR]\r\nHTML_Color=\r\nPathToSent=\r\nPathToPool=" + std::string(300, 'p') +
           "\r\nMailAddress=keeper@example.org\r\n");
  const Settings settings = LoadSettings(iniPath(), programDir());
  EXPECT_EQ(settings.html.color, "");
  EXPECT_EQ(settings.html.bgColor, "#000000");
  EXPECT_EQ(settings.pathToSent, "");
  // Cut, the directory would name another one; the session refuses it whole (CheckDirectoryLength).
  EXPECT_EQ(settings.pathToPool, std::string(300, 'p'));
  EXPECT_EQ(settings.mailAddress, "keeper@example.org");
}

TEST_F(SettingsTest, OptionsDialogReadsWithItsFieldsAsDefaults) {
  WriteIni("[RELICOR]\r\nHTML_Fontsize=12pt\r\nHeaderURL1=\r\n");
  HtmlOptionValues current;
  current.fontface = "verdana";
  current.headerUrl1 = "http://clan.example";
  const HtmlOptionValues read = LoadHtmlOptionKeys(iniPath(), current);
  EXPECT_EQ(read.fontface, "verdana");  // missing: the field's text
  EXPECT_EQ(read.fontsize, "12pt");
  EXPECT_EQ(read.headerUrl1, "");  // present but empty
  EXPECT_EQ(read.filePrefix, "itm");
}

TEST_F(SettingsTest, SaveKeepsOtherSectionsAndKeys) {
  WriteIni("[Window]\r\nTop=5\r\n[RELICOR]\r\nfileprefix=abc\r\nCustom=keep\r\n");
  Settings settings = DefaultSettings(programDir());
  settings.pathToPool = "/srv/pool";
  settings.htmlScanSub = false;
  ASSERT_TRUE(SaveSettings(iniPath(), settings));
  const std::string text = tmp_.read("RELICOR.INI");
  const std::string kept =
      "[Window]\r\nTop=5\r\n[RELICOR]\r\nfileprefix=itm\r\nCustom=keep\r\nPathToPool=/srv/pool\r\n";
  EXPECT_EQ(text.substr(0, kept.size()), kept);
  const Settings back = LoadSettings(iniPath(), programDir());
  EXPECT_EQ(back.pathToPool, "/srv/pool");
  EXPECT_FALSE(back.htmlScanSub);
}

TEST_F(SettingsTest, ALinkedOrOversizedSettingsFileIsNotReadNorWrittenThrough) {
  tmp_.write("elsewhere.ini", "[RELICOR]\r\nPathToPool=/private/pool\r\n");
  std::filesystem::create_symlink(tmp_.file("elsewhere.ini"), iniPath());
  std::string problem;
  EXPECT_EQ(LoadSettings(iniPath(), programDir(), &problem), DefaultSettings(programDir()));
  EXPECT_EQ(problem, iniPath() + " is a symbolic link: not followed: the settings are not read from it");
  EXPECT_FALSE(SaveSettings(iniPath(), DefaultSettings(programDir())));
  EXPECT_EQ(tmp_.read("elsewhere.ini"), "[RELICOR]\r\nPathToPool=/private/pool\r\n");

  std::filesystem::remove(iniPath());
  WriteIni("[RELICOR]\r\nPathToPool=/big\r\n" + std::string(kMaxIniFileBytes, ';'));
  problem.clear();
  EXPECT_EQ(LoadSettings(iniPath(), programDir(), &problem).pathToPool, programDir() + "POOL");
  EXPECT_EQ(problem, iniPath() + " holds more than 1048576 bytes: the settings are not read from it");
}

TEST_F(SettingsTest, FailedSaveNamesTheSettingsFile) {
  tmp_.write("afile", "x");
  const std::string path = tmp_.file("afile/RELICOR.INI");
  const Status saved = SaveSettings(path, DefaultSettings(programDir()));
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.error(), "nach " + path + " kann nicht geschrieben werden");
}

}  // namespace
}  // namespace relicor
