#include <gtest/gtest.h>

#include <filesystem>

#include "platform/IniFile.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;

TEST(IniFileTest, EveryWriteGoesToTheFileAtOnce) {
  TempDir tmp;
  const IniFile ini(tmp.file("NEW.INI"));
  EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");  // missing file
  ASSERT_TRUE(ini.WriteString("S", "k", "v"));
  ASSERT_TRUE(ini.WriteInteger("S", "n", -3));
  ASSERT_TRUE(ini.WriteBool("S", "b", false));
  EXPECT_EQ(tmp.read("NEW.INI"), "[S]\r\nk=v\r\nn=-3\r\nb=0\r\n");
  EXPECT_EQ(ini.ReadInteger("s", "N", 0), -3);
  EXPECT_FALSE(ini.ReadBool("S", "b", true));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()), {}), 1);  // no temporary left

  tmp.write("NEW.INI", "; mine\n[Keep]\nx = 1\n[S]\nk=5\n");  // changed by someone else
  EXPECT_EQ(ini.ReadInteger("S", "k", 0), 5);
  ASSERT_TRUE(ini.Update([](Ini& model) {
    model.Set("S", "k", "6");
    model.Set("S", "m", "7");
  }));
  EXPECT_EQ(tmp.read("NEW.INI"), "; mine\r\n[Keep]\r\nx = 1\r\n[S]\r\nk=6\r\nm=7\r\n");
}

TEST(IniFileTest, FailuresNameTheFile) {
  TempDir tmp;
  tmp.write("afile", "not a directory");
  const std::string below = tmp.file("afile/x.INI");
  EXPECT_EQ(IniFile(below).ReadString("S", "k", "def"), "def");  // reads like a missing file
  const Status written = IniFile(below).WriteString("S", "k", "v");
  ASSERT_FALSE(written);
  EXPECT_EQ(written.error(), "cannot write " + below + ": Not a directory");

  // A file that exists but cannot be read is not overwritten.
  const std::string directory = tmp.mkdir("DIR.INI");
  auto loaded = IniFile(directory).Load();
  ASSERT_FALSE(loaded);
  EXPECT_NE(loaded.error().find(directory), std::string::npos) << loaded.error();
  EXPECT_FALSE(IniFile(directory).WriteString("S", "k", "v"));
  EXPECT_TRUE(std::filesystem::is_directory(directory));
}

}  // namespace
}  // namespace relicor
