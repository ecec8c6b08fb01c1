#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "pool/ListedNames.h"
#include "pool/RenameRun.h"
#include "text/PathList.h"
#include "text/TextList.h"

namespace relicor {
namespace {

std::vector<DirEntry> Entries(const std::vector<std::string>& names) {
  std::vector<DirEntry> entries;
  entries.reserve(names.size());
  for (const std::string& name : names) entries.push_back(DirEntry{name, false, false, false});
  return entries;
}

TEST(ListedNames, ANameIsHeldInItsOwnDirectoryOnly) {
  // The names are kept by their directory's number: one name in two directories, a name of 255
  // bytes, Windows-1252 bytes, and files the run makes in a directory no listing held.
  const std::string pool = "/nowhere-r3/pool/";
  const std::string sent = "/nowhere-r3/pool/sent/";
  const std::string longName = std::string(251, '\xE9') + ".ITM";
  ListedNames names;
  names.AddDirectory(pool, Entries({"A.ITM", "B.IT0", longName, "\xE4\xFC.ITM"}));
  names.AddDirectory(sent, Entries({"B.ITM", "A.IT0"}));
  EXPECT_TRUE(names.Holds(pool + "A.ITM"));
  EXPECT_FALSE(names.Holds(sent + "A.ITM"));
  EXPECT_TRUE(names.Holds(sent + "B.ITM"));
  EXPECT_FALSE(names.Holds(pool + "B.ITM"));
  EXPECT_TRUE(names.Holds(pool + longName));
  EXPECT_FALSE(names.Holds(sent + longName));
  EXPECT_TRUE(names.Occupied(pool + "\xE4\xFC.ITM"));
  EXPECT_FALSE(names.Holds("/nowhere-r3/pool"));  // the directory itself is no name in it
  EXPECT_FALSE(names.Holds("A.ITM"));

  // A move in one directory leaves the other's name alone.
  names.Remove(pool + "A.ITM");
  names.Add(pool + "Ring0001.ITM");
  EXPECT_FALSE(names.Holds(pool + "A.ITM"));
  EXPECT_TRUE(names.Holds(pool + "Ring0001.ITM"));
  EXPECT_FALSE(names.Holds(sent + "Ring0001.ITM"));
  EXPECT_TRUE(names.Holds(sent + "A.IT0"));
  EXPECT_EQ(names.DiskLooks(), 0u);

  const std::string home = "/nowhere-r3/home/";
  EXPECT_FALSE(names.Listed(home + "RENAME.LOG"));
  names.Add(home + "RENAME.LOG");
  EXPECT_TRUE(names.Holds(home + "RENAME.LOG"));
  EXPECT_FALSE(names.Holds(pool + "RENAME.LOG"));
  // A path without a directory and one at the root are two names.
  names.Add("/x.ITM");
  EXPECT_TRUE(names.Holds("/x.ITM"));
  EXPECT_FALSE(names.Holds("x.ITM"));
}

TEST(ListedNames, KeepsTheNamesOfMoreDirectoriesThanOneByteNumbers) {
  // A run with subdirectories lists hundreds of directories: the first ones' numbers take one
  // byte in a key, the later ones' five. A name is held in its own directory only, on both sides
  // of that change, and a name whose first byte looks like a number is no other directory's name.
  ListedNames names;
  constexpr int kDirectories = 600;
  auto dir = [](int d) { return "/nowhere-r3/pool/d" + std::to_string(d) + "/"; };
  for (int d = 0; d < kDirectories; ++d) {
    names.AddDirectory(dir(d), Entries({"A" + std::to_string(d) + ".ITM", std::string(1, '\xFF') + "B.ITM"}));
  }
  for (int d = 0; d < kDirectories; ++d) {
    ASSERT_TRUE(names.Holds(dir(d) + "A" + std::to_string(d) + ".ITM")) << d;
    ASSERT_TRUE(names.Holds(dir(d) + "\xFF"
                                     "B.ITM"))
        << d;
    ASSERT_FALSE(names.Holds(dir(d) + "A" + std::to_string(d + 1) + ".ITM")) << d;
    ASSERT_FALSE(names.Holds(dir(d) + "B.ITM")) << d;
  }
  EXPECT_TRUE(names.Remove(dir(300) + "A300.ITM"));
  EXPECT_FALSE(names.Holds(dir(300) + "A300.ITM"));
  EXPECT_TRUE(names.Holds(dir(30) + "A30.ITM"));
  EXPECT_EQ(names.DiskLooks(), 0u);
}

TEST(ListedNames, TellsWhetherAnySidecarNameIsSpeltOtherwiseThanTheUsualWay) {
  // The run asks for the other spellings of a sidecar only where some listed name has one; the
  // count follows names added twice and names taken out that were never there.
  const std::string pool = "/nowhere-r3/pool/";
  ListedNames names;
  names.AddDirectory(pool, Entries({"A.ITM", "A.IT0", "B.ITM", "IT0", "NOTANIT0.TXT"}));
  EXPECT_FALSE(names.HoldsOtherSidecarSpellings());
  struct Step {
    bool add;
    const char* name;
    bool other;  // HoldsOtherSidecarSpellings afterwards
  };
  const std::vector<Step> steps = {
      {true, "B.it0", true},  {true, "B.it0", true},  {false, "B.it0", false}, {false, "B.it0", false},
      {true, "C.iT0", true},  {true, "D.It0", true},  {false, "C.iT0", true},  {false, "D.It0", false},
      {true, "E.IT0", false}, {true, "F.it1", false}, {true, "G.ito", false},  {false, "E.IT0", false},
  };
  for (const Step& step : steps) {
    if (step.add) {
      names.Add(pool + step.name);
    } else {
      names.Remove(pool + step.name);
    }
    EXPECT_EQ(names.HoldsOtherSidecarSpellings(), step.other) << (step.add ? "add " : "remove ") << step.name;
  }
  ListedNames listed;
  listed.AddDirectory(pool, Entries({"A.ITM", "a.it0"}));
  EXPECT_TRUE(listed.HoldsOtherSidecarSpellings());
}

TEST(ListedNames, TheDigestIsTheSameForTheSameNamesInAnyOrder) {
  ListedNames one;
  ListedNames two;
  one.AddDirectory("/nowhere-r3/a/", Entries({"X.ITM", "Y.ITM"}));
  one.AddDirectory("/nowhere-r3/b/", Entries({"X.ITM"}));
  two.AddDirectory("/nowhere-r3/b/", Entries({"X.ITM"}));
  two.AddDirectory("/nowhere-r3/a/", Entries({"Y.ITM", "X.ITM"}));
  EXPECT_EQ(one.Digest(), two.Digest());
  ListedNames moved;
  moved.AddDirectory("/nowhere-r3/a/", Entries({"X.ITM"}));
  moved.AddDirectory("/nowhere-r3/b/", Entries({"X.ITM", "Y.ITM"}));
  EXPECT_NE(one.Digest(), moved.Digest());
}

TEST(RenameStepList, KeepsEveryRenameAcrossBlocksAndDirectories) {
  // Enough renames with long Windows-1252 names in two directories to fill several blocks: each
  // step comes back whole, in order, by index and by walking the list; with its sources kept as
  // paths of its own, or as places in a list of every path (every third one renamed) handed over
  // after the last rename.
  for (const bool bySource : {false, true}) {
    SCOPED_TRACE(bySource ? "by source" : "paths of its own");
    RenameStepList list = bySource ? RenameStepList::FromSources() : RenameStepList();
    PathList sources;
    std::vector<std::pair<std::string, std::string>> steps;
    std::size_t bytes = 0;
    for (std::size_t i = 0; bytes < 3 * TextList::kBlockBytes; ++i) {
      const std::string dir = i % 2 == 0 ? "/pool/" : "/pool/sent\xE4/";
      std::string to = "Ring\xFC" + std::to_string(i);
      to.resize(1 + i % 250, 'z');
      const std::string from = dir + "I" + std::to_string(i) + ".ITM";
      sources.Add(from);
      if (bySource && i % 3 != 1) continue;
      steps.emplace_back(from, dir + to + ".ITM");
      if (bySource) {
        list.AddFromSource(sources.size() - 1, sources.Directory(sources.size() - 1), steps.back().second);
      } else {
        list.Add(steps.back().first, steps.back().second);
      }
      bytes += 2 * to.size();
    }
    if (bySource) list.SetSources(std::move(sources));
    ASSERT_EQ(list.size(), steps.size());
    std::size_t i = 0;
    for (const auto& step : list) {
      ASSERT_EQ(step.from, steps[i].first) << i;
      ASSERT_EQ(step.to, steps[i].second) << i;
      ++i;
    }
    EXPECT_EQ(i, steps.size());
    // Read backwards into one step: a long path read before a shorter one leaves nothing behind.
    RenameStepList::Step reused;
    for (std::size_t k = steps.size(); k-- > 0;) {
      list.Get(k, reused);
      ASSERT_EQ(reused.from, steps[k].first) << k;
      ASSERT_EQ(reused.to, steps[k].second) << k;
    }
    EXPECT_EQ(list[7].to, steps[7].second);
    EXPECT_EQ(list.back().from, steps.back().first);
    // One list never holds both kinds of sources.
    EXPECT_THROW(bySource ? list.Add("/a", "/b") : list.AddFromSource(0, "", "/b"), std::logic_error);
    EXPECT_EQ(list.size(), steps.size());
  }
}

TEST(RenameStepList, KeepsARenameBySourceInItsSourcesDirectory) {
  // A list by source keeps only the target's file name and takes the directory from the source: a
  // source without a directory, one in the root, and one whose directory ends where another's
  // name does, come back whole; a target in another directory (a longer, a shorter, one with none)
  // is refused and leaves the list as it was. The root and no directory are one to a PathList (the
  // part before the last separator is empty for both), and the target comes back as it was given.
  PathList sources;
  for (const char* path : {"X.ITM", "/Y.ITM", "/pool/a/Z.ITM", "/pool/ab/W.ITM"}) sources.Add(path);
  const struct {
    std::size_t source;
    const char* to;
    bool refused;
  } cases[] = {
      {0, "Ring0001.ITM", false},         {1, "/Ring0002.ITM", false},
      {2, "/pool/a/Ring0003.ITM", false}, {3, "/pool/ab/Ring0004.ITM", false},
      {2, "/pool/ab/Ring0005.ITM", true}, {3, "/pool/a/Ring0006.ITM", true},
      {2, "Ring0007.ITM", true},          {0, "/Ring0008.ITM", false},
  };
  RenameStepList list = RenameStepList::FromSources();
  std::vector<std::pair<std::string, std::string>> kept;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.to);
    if (c.refused) {
      EXPECT_THROW(list.AddFromSource(c.source, sources.Directory(c.source), c.to), std::logic_error);
    } else {
      list.AddFromSource(c.source, sources.Directory(c.source), c.to);
      kept.emplace_back(sources[c.source], c.to);
    }
    EXPECT_EQ(list.size(), kept.size());
  }
  list.SetSources(std::move(sources));
  ASSERT_EQ(list.size(), kept.size());
  for (std::size_t i = 0; i < kept.size(); ++i) {
    EXPECT_EQ(list[i].from, kept[i].first) << i;
    EXPECT_EQ(list[i].to, kept[i].second) << i;
  }
}

}  // namespace
}  // namespace relicor
