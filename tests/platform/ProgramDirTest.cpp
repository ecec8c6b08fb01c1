#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ProgramDir.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;

TEST(HomeDirectory, AWritableProgramDirectoryIsTheHome) {
  TempDir dir;
  const std::string program = dir.mkdir("bin") + "/";
  EXPECT_EQ(HomeDirectoryFor(program, dir.file("xdg"), dir.file("home")), program);
  EXPECT_FALSE(std::filesystem::exists(dir.file("xdg")));
}

// An installed program's directory (/usr/bin) is not writable for the keeper; a directory
// that is not there stands in for it, since the tests may run as root.
TEST(HomeDirectory, OtherwiseTheUsersConfigurationDirectoryWhichIsCreated) {
  TempDir dir;
  const std::string program = dir.file("missing") + "/";
  struct Case {
    std::string xdg, home, expected;
  };
  const Case cases[] = {
      {dir.file("xdg"), dir.file("home"), dir.file("xdg") + "/relicor/"},
      {dir.file("xdg2") + "//", "", dir.file("xdg2") + "/relicor/"},
      {"", dir.file("home"), dir.file("home") + "/.config/relicor/"},
      // A relative XDG_CONFIG_HOME is invalid and ignored.
      {"relative/config", dir.file("home3"), dir.file("home3") + "/.config/relicor/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(HomeDirectoryFor(program, c.xdg, c.home), c.expected);
    EXPECT_TRUE(std::filesystem::is_directory(c.expected));
  }
}

TEST(HomeDirectory, WithNoConfigurationDirectoryTheProgramDirectoryStays) {
  TempDir dir;
  const std::string program = dir.file("missing") + "/";
  EXPECT_EQ(HomeDirectoryFor(program, "", ""), program);
}

}  // namespace
}  // namespace relicor
