#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "platform/FaultInjection.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace relicor {
namespace {

using test::TempDir;

TEST(MoveFileNoReplace, MovesAndNeverReplaces) {
  TempDir dir;
  const auto a = dir.write("a.ITM", "item a");
  const auto b = dir.write("b.ITM", "item b");
  const auto refused = MoveFileNoReplace(a, b);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), "cannot move " + a + " to " + b + ": the target exists");
  EXPECT_EQ(dir.read("a.ITM"), "item a");
  EXPECT_EQ(dir.read("b.ITM"), "item b");

  ASSERT_TRUE(MoveFileNoReplace(a, dir.file("c.ITM")));
  EXPECT_FALSE(FileExists(a));
  EXPECT_EQ(dir.read("c.ITM"), "item a");

  const auto missing = MoveFileNoReplace(dir.file("none.ITM"), dir.file("d.ITM"));
  ASSERT_FALSE(missing);
  EXPECT_NE(missing.error().find("none.ITM"), std::string::npos) << missing.error();
}

TEST(MoveFileNoReplace, MovesAcrossFileSystemsKeepingTheFileDate) {
  // /dev/shm is a file system of its own on most Linux machines.
  struct stat shm {
  }, tmp{};
  if (::stat("/dev/shm", &shm) != 0 || ::stat(std::filesystem::temp_directory_path().c_str(), &tmp) != 0 ||
      shm.st_dev == tmp.st_dev) {
    GTEST_SKIP() << "no second file system to move to";
  }
  TempDir dir;
  const auto from = dir.write("a.ITM", std::string(400, 'x'));
  const utimbuf old{1000000000, 1000000000};
  ASSERT_EQ(::utime(from.c_str(), &old), 0);
  const std::string to = "/dev/shm/relicor-move-test-" + std::to_string(::getpid()) + ".ITM";
  std::filesystem::remove(to);
  ASSERT_TRUE(MoveFileNoReplace(from, to));
  EXPECT_FALSE(FileExists(from));
  struct stat moved {};
  ASSERT_EQ(::stat(to.c_str(), &moved), 0);
  EXPECT_EQ(moved.st_size, 400);
  EXPECT_EQ(moved.st_mtim.tv_sec, 1000000000);
  // Back again onto a file that exists there now: refused, both stay.
  dir.write("a.ITM", "new");
  EXPECT_FALSE(MoveFileNoReplace(to, from));
  EXPECT_TRUE(FileExists(to));
  EXPECT_EQ(dir.read("a.ITM"), "new");
  std::filesystem::remove(to);
}

TEST(AtomicReplaceFile, ReplacesWholeAndKeepsPermissions) {
  TempDir dir;
  const auto path = dir.write("RELICOR.INI", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(AtomicReplaceFile(path, "new text"));
  EXPECT_EQ(dir.read("RELICOR.INI"), "new text");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  // No temporary file is left behind.
  EXPECT_EQ(
      std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
      1);
}

TEST(AtomicFileWriter, AnAbandonedWriteLeavesTheOldFile) {
  TempDir dir;
  const auto path = dir.write("ITMLIST.TXT", "the old list");
  {
    AtomicFileWriter writer(path);
    ASSERT_TRUE(writer.Open());
    ASSERT_TRUE(writer.Write("half a new li"));
  }
  EXPECT_EQ(dir.read("ITMLIST.TXT"), "the old list");
  EXPECT_EQ(
      std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
      1);
}

TEST(AtomicReplaceFile, AMissingDirectoryIsAnErrorNamingTheFile) {
  TempDir dir;
  const auto path = dir.file("no-dir/PLAYERS.TXT");
  const auto written = AtomicReplaceFile(path, "x");
  ASSERT_FALSE(written);
  EXPECT_NE(written.error().find(path), std::string::npos) << written.error();
}

TEST(ReadWholeFileIfPresent, NothingForAMissingFileAnErrorForAnUnreadableOne) {
  TempDir dir;
  const std::string file = dir.write("A.IT0", std::string(70000, 'x') + "end");
  auto read = ReadWholeFileIfPresent(file);
  ASSERT_TRUE(read) << read.error();
  ASSERT_TRUE(read->has_value());
  EXPECT_EQ(read->value().size(), 70003u);  // more than one piece
  EXPECT_EQ(read->value().substr(69998), "xxend");

  // Missing: the file, a directory on the way, or a file standing where a directory should be.
  for (const std::string& missing : {dir.file("B.IT0"), dir.file("no-dir/B.IT0"), file + "/B.IT0"}) {
    read = ReadWholeFileIfPresent(missing);
    ASSERT_TRUE(read) << missing << ": " << read.error();
    EXPECT_FALSE(read->has_value()) << missing;
  }

  const std::string directory = dir.mkdir("C.IT0");
  read = ReadWholeFileIfPresent(directory);
  ASSERT_FALSE(read);
  EXPECT_NE(read.error().find(directory), std::string::npos) << read.error();
}

}  // namespace
}  // namespace relicor

namespace relicor {
namespace {

using test::TempDir;

class FaultScope {
 public:
  explicit FaultScope(const faults::Fault& fault) { faults::Inject(fault); }
  ~FaultScope() { faults::Clear(); }
};

TEST(AppendToFile, AFailedAppendLeavesNoFileItMade) {
  TempDir dir;
  const std::string log = dir.file("DUPECHK.TXT");
  {
    FaultScope full({faults::FileOp::kWrite, ENOSPC, "DUPECHK", 0, -1});
    const Status appended = AppendToFile(log, "line\r\n");
    ASSERT_FALSE(appended);
    EXPECT_EQ(appended.error(), "cannot write " + log + ": No space left on device");
  }
  EXPECT_FALSE(FileExists(log));
  // A file that was there before keeps what it held.
  dir.write("DUPECHK.TXT", "old\r\n");
  {
    FaultScope full({faults::FileOp::kWrite, EIO, "DUPECHK", 0, -1});
    EXPECT_FALSE(AppendToFile(log, "line\r\n"));
  }
  EXPECT_EQ(dir.read("DUPECHK.TXT"), "old\r\n");
  ASSERT_TRUE(AppendToFile(log, "new\r\n"));
  EXPECT_EQ(dir.read("DUPECHK.TXT"), "old\r\nnew\r\n");
}

TEST(AppendToFile, NeverThroughALinkNorIntoAnythingButAFile) {
  TempDir dir;
  const std::string outside = dir.write("outside.txt", "private");
  std::filesystem::create_symlink(outside, dir.file("LOG.TXT"));
  const Status linked = AppendToFile(dir.file("LOG.TXT"), "x");
  ASSERT_FALSE(linked);
  EXPECT_EQ(linked.error(), "cannot write " + dir.file("LOG.TXT") + ": a symbolic link, not followed");
  EXPECT_EQ(dir.read("outside.txt"), "private");
  ASSERT_EQ(::mkfifo(dir.file("FIFO.TXT").c_str(), 0644), 0);
  EXPECT_FALSE(AppendToFile(dir.file("FIFO.TXT"), "x"));
}

TEST(AtomicReplaceFile, AFailureAtEveryStepKeepsTheOldFileAndLeavesNoTemporaryFile) {
  struct Case {
    faults::FileOp op;
    int error;
    const char* reason;
  };
  // clang-format off
  const Case cases[] = {
      {faults::FileOp::kOpen,   EACCES, "cannot write %: Permission denied"},
      {faults::FileOp::kWrite,  ENOSPC, "cannot write %: No space left on device"},
      {faults::FileOp::kFsync,  EIO,    "cannot write %: Input/output error"},
      {faults::FileOp::kRename, EROFS,  "cannot replace %: Read-only file system"},
  };
  // clang-format on
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.write("PLAYERS.TXT", "old\r\n");
    Status replaced;
    {
      FaultScope fault({c.op, c.error, "PLAYERS.TXT", 0, -1});
      replaced = AtomicReplaceFile(path, "new\r\n");
    }
    ASSERT_FALSE(replaced);
    std::string expected = c.reason;
    expected.replace(expected.find('%'), 1, path);
    EXPECT_EQ(replaced.error(), expected);
    EXPECT_EQ(dir.read("PLAYERS.TXT"), "old\r\n");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1u) << "no temporary file is left";
  }
}

TEST(AtomicReplaceFile, ALinkInThePlaceIsReplacedNotFollowed) {
  TempDir dir;
  const std::string outside = dir.write("outside.txt", "private");
  std::filesystem::create_symlink(outside, dir.file("A.IT0"));
  ASSERT_TRUE(AtomicReplaceFile(dir.file("A.IT0"), "mine"));
  EXPECT_EQ(dir.read("outside.txt"), "private");
  EXPECT_FALSE(std::filesystem::is_symlink(dir.file("A.IT0")));
}

TEST(ReadSmallFileNoFollow, OnlyASmallRegularFileIsRead) {
  TempDir dir;
  dir.write("small.IT0", "abc");
  dir.write("big.IT0", std::string(11, 'x'));
  std::filesystem::create_symlink(dir.file("small.IT0"), dir.file("link.IT0"));
  ASSERT_EQ(::mkfifo(dir.file("fifo.IT0").c_str(), 0644), 0);

  auto small = ReadSmallFileNoFollow(dir.file("small.IT0"), 10);
  ASSERT_TRUE(small && *small);
  EXPECT_EQ(**small, "abc");
  auto missing = ReadSmallFileNoFollow(dir.file("none.IT0"), 10);
  ASSERT_TRUE(missing);
  EXPECT_FALSE(*missing);

  const std::pair<const char*, std::string> refused[] = {
      {"big.IT0", dir.file("big.IT0") + " holds more than 10 bytes"},
      {"link.IT0", dir.file("link.IT0") + " is a symbolic link: not followed"},
      {"fifo.IT0", "cannot read " + dir.file("fifo.IT0") + ": not a regular file"},
  };
  for (const auto& [name, error] : refused) {
    auto read = ReadSmallFileNoFollow(dir.file(name), 10);
    ASSERT_FALSE(read) << name;
    EXPECT_EQ(read.error(), error);
  }
}

TEST(ReadSmallFileNoFollow, TheLimitHoldsWhatTheCallerKnowsAndALinkedDirectoryOnTheWayIsFine) {
  TempDir dir;
  dir.write("pool/ten.IT0", std::string(10, 'x'));
  dir.write("pool/eleven.IT0", std::string(11, 'x'));
  dir.write("pool/big.IT0", std::string(200000, '\n'));
  dir.mkdir("pool/sub.IT0");
  std::filesystem::create_directory_symlink(dir.file("pool"), dir.file("linked-pool"));
  for (const KnownType known : {KnownType::kUnknown, KnownType::kRegular}) {
    auto ten = ReadSmallFileNoFollow(dir.file("linked-pool/ten.IT0"), 10, known);
    ASSERT_TRUE(ten && *ten);
    EXPECT_EQ(**ten, std::string(10, 'x'));
    auto eleven = ReadSmallFileNoFollow(dir.file("pool/eleven.IT0"), 10, known);
    ASSERT_FALSE(eleven);
    EXPECT_EQ(eleven.error(), dir.file("pool/eleven.IT0") + " holds more than 10 bytes");
    auto big = ReadSmallFileNoFollow(dir.file("pool/big.IT0"), 200000, known);
    ASSERT_TRUE(big && *big);
    EXPECT_EQ((*big)->size(), 200000u);
    EXPECT_FALSE(ReadSmallFileNoFollow(dir.file("pool/big.IT0"), 199999, known));
    auto directory = ReadSmallFileNoFollow(dir.file("pool/sub.IT0"), 10, known);
    ASSERT_FALSE(directory);
    EXPECT_EQ(directory.error(), "cannot read " + dir.file("pool/sub.IT0") + ": not a regular file");
  }
}

// Files about as large as one read without the file's size come back whole, byte for byte, and a
// limit just below their size still refuses them.
TEST(ReadSmallFileNoFollow, FilesAroundTheSizeOfOneReadComeBackWhole) {
  TempDir dir;
  for (const std::size_t size : {std::size_t{0}, std::size_t{16383}, std::size_t{16384}, std::size_t{16385},
                                 std::size_t{16386}, std::size_t{65537}, std::size_t{81921}}) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    const std::string name = "f" + std::to_string(size) + ".IT0";
    dir.write(name, text);
    for (const KnownType known : {KnownType::kUnknown, KnownType::kRegular}) {
      auto read = ReadSmallFileNoFollow(dir.file(name), 100000, known);
      ASSERT_TRUE(read && *read) << size;
      EXPECT_TRUE(**read == text) << size;
      if (size > 0) {
        EXPECT_FALSE(ReadSmallFileNoFollow(dir.file(name), size - 1, known)) << size;
      }
      auto exact = ReadSmallFileNoFollow(dir.file(name), size, known);
      ASSERT_TRUE(exact && *exact) << size;
      EXPECT_EQ((*exact)->size(), size);
    }
  }
}

// The stamp comes from the file that is read, and is what a look at the path gives; a directory
// held open reads the same files, with the same errors, as the full paths do.
TEST(ReadSmallFileAndStamp, TheStampIsThePathsAndTheOpenDirectoryReadsAlike) {
  TempDir dir;
  dir.write("pool/A.IT0", "abc");
  dir.write("pool/big.IT0", std::string(11, 'x'));
  dir.write("pool/deeper/B.IT0", "deep");
  std::filesystem::create_symlink(dir.file("pool/A.IT0"), dir.file("pool/link.IT0"));
  dir.mkdir("pool/sub.IT0");
  const std::string pool = dir.file("pool/");
  const DirectoryHandle opened(pool);
  ASSERT_GE(opened.fd(), 0);
  EXPECT_EQ(opened.NameIn(pool + "deeper/B.IT0"), nullptr);
  EXPECT_EQ(opened.NameIn(pool), nullptr);
  EXPECT_EQ(opened.NameIn(dir.file("other/A.IT0")), nullptr);
  EXPECT_STREQ(opened.NameIn(pool + "A.IT0"), "A.IT0");
  for (const DirectoryHandle* in : {static_cast<const DirectoryHandle*>(nullptr), &opened}) {
    struct Case {
      const char* name;
      std::optional<std::string> text;  // nothing: no file
      std::string error;                // the read fails with this
    };
    const Case cases[] = {
        {"A.IT0", "abc", ""},
        {"none.IT0", std::nullopt, ""},
        {"deeper/B.IT0", "deep", ""},
        {"big.IT0", std::nullopt, pool + "big.IT0 holds more than 10 bytes"},
        {"link.IT0", std::nullopt, pool + "link.IT0 is a symbolic link: not followed"},
        {"sub.IT0", std::nullopt, "cannot read " + pool + "sub.IT0: not a regular file"},
    };
    for (const Case& c : cases) {
      const std::string path = pool + c.name;
      FileStamp stamp = kUnknownFileStamp;
      auto read = ReadSmallFileAndStamp(path, 10, stamp, in);
      EXPECT_EQ(stamp, StampOfFile(path)) << c.name;
      if (!c.error.empty()) {
        ASSERT_FALSE(read) << c.name;
        EXPECT_EQ(read.error(), c.error);
        continue;
      }
      ASSERT_TRUE(read) << c.name << ": " << read.error();
      EXPECT_EQ(*read, c.text) << c.name;
    }
    auto head = ReadFileHeadAndTime(pool + "link.IT0", 400, in);
    ASSERT_FALSE(head);
    EXPECT_EQ(head.error(), pool + "link.IT0 is a symbolic link: not followed");
    head = ReadFileHeadAndTime(pool + "A.IT0", 400, in);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->data, "abc");
    EXPECT_EQ(head->stamp, StampOfFile(pool + "A.IT0"));
  }
  EXPECT_NE(StampOfFile(pool + "A.IT0"), kNoFileStamp);
}

TEST(ReadFileHead, AnItemIsNeverReadThroughALink) {
  TempDir dir;
  dir.write("private.bin", std::string(400, 'p'));
  std::filesystem::create_symlink(dir.file("private.bin"), dir.file("A.ITM"));
  auto head = ReadFileHeadAndTime(dir.file("A.ITM"), 400);
  ASSERT_FALSE(head);
  EXPECT_EQ(head.error(), dir.file("A.ITM") + " is a symbolic link: not followed");
  auto plain = ReadFileHead(dir.file("A.ITM"), 400);
  ASSERT_FALSE(plain);
  EXPECT_EQ(plain.error(), dir.file("A.ITM") + " is a symbolic link: not followed");
}

TEST(ReadFileHead, AFifoIsNotWaitedFor) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("F.ITM").c_str(), 0644), 0);
  auto head = ReadFileHeadAndTime(dir.file("F.ITM"), 400);
  ASSERT_FALSE(head);
  EXPECT_EQ(head.error(), "cannot read " + dir.file("F.ITM") + ": not a regular file");
  EXPECT_FALSE(ReadWholeFile(dir.file("F.ITM")));
}

// The start of a file without its time: a record's worth in one read; whatever else is there (a
// link, a directory, a FIFO with or without a writer, a device) is told as ReadFileHeadAndTime
// tells it, and never waited for.
TEST(ReadFileStart, ARecordInOneReadAndAnythingElseToldWithoutWaiting) {
  TempDir dir;
  const std::string pool = dir.mkdir("pool") + "/";
  dir.write("pool/EXACT.ITM", std::string(400, 'e'));
  dir.write("pool/LONGER.ITM", std::string(400, 'l') + "tail");
  dir.write("pool/SHORT.ITM", "abc");
  dir.write("pool/EMPTY.ITM", "");
  dir.mkdir("pool/SUB.ITM");
  std::filesystem::create_symlink(pool + "EXACT.ITM", pool + "LINK.ITM");
  ASSERT_EQ(::mkfifo((pool + "FIFO.ITM").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((pool + "FULL.ITM").c_str(), 0644), 0);
  // A FIFO whose writer has put more than a record into it.
  const int reader = ::open((pool + "FULL.ITM").c_str(), O_RDONLY | O_NONBLOCK);
  const int writer = ::open((pool + "FULL.ITM").c_str(), O_WRONLY | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  ASSERT_EQ(::write(writer, std::string(1000, 'f').data(), 1000), 1000);
  const DirectoryHandle opened(pool);
  for (const DirectoryHandle* in : {static_cast<const DirectoryHandle*>(nullptr), &opened}) {
    const std::pair<std::string, std::string> read[] = {
        {pool + "EXACT.ITM", std::string(400, 'e')},
        {pool + "LONGER.ITM", std::string(400, 'l')},
        {pool + "SHORT.ITM", "abc"},
        {pool + "EMPTY.ITM", ""},
    };
    for (const auto& [path, data] : read) {
      auto start = ReadFileStart(path, 400, in);
      ASSERT_TRUE(start) << path << ": " << start.error();
      EXPECT_EQ(*start, data) << path;
    }
    const std::pair<std::string, std::string> refused[] = {
        {pool + "SUB.ITM", "cannot read " + pool + "SUB.ITM: Is a directory"},
        {pool + "LINK.ITM", pool + "LINK.ITM is a symbolic link: not followed"},
        {pool + "FIFO.ITM", "cannot read " + pool + "FIFO.ITM: not a regular file"},
        {pool + "FULL.ITM", "cannot read " + pool + "FULL.ITM: not a regular file"},
        {pool + "NONE.ITM", "cannot open " + pool + "NONE.ITM: No such file or directory"},
        {"/dev/zero", "cannot read /dev/zero: not a regular file"},
        {"/dev/null", "cannot read /dev/null: not a regular file"},
    };
    for (const auto& [path, error] : refused) {
      auto start = ReadFileStart(path, 400, in);
      ASSERT_FALSE(start) << path;
      EXPECT_EQ(start.error(), error);
    }
  }
  ::close(writer);
  ::close(reader);
}

TEST(TemporaryFiles, OnlyOurNamesOfProcessesThatAreGoneAreStale) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = std::to_string(child);
  const std::string alive = std::to_string(::getpid());
  struct Case {
    std::string name;
    bool stale;
  };
  const Case cases[] = {
      {"ITMLIST.TXT.tmp-" + dead + "-123456", true},
      {"a.IT0.tmp-" + dead + "-000001", true},
      {"ITMLIST.TXT.tmp-" + alive + "-123456", false},  // this very process
      {"ITMLIST.TXT.tmp-1-123456", false},              // a process that runs
      {"ITMLIST.TXT.tmp-" + dead + "-12345", false},    // five digits
      {"ITMLIST.TXT.tmp123456", false},
      {"notes.tmp-" + dead + "-12345x", false},
      {".tmp-" + dead + "-123456", false},
      {"I0000000.ITM.tmp-" + dead + "-123IT0", true},  // the sidecar of a temporary item file
      {"Axe.ITM-123456", false},                       // the dash and six digits, but no mark
      {"-123456", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsStaleTemporaryFileName(c.name), c.stale) << c.name;
  const std::string made = TemporaryFileName("/p/ITMLIST.TXT");
  EXPECT_EQ(made.rfind("/p/ITMLIST.TXT.tmp-" + alive + "-", 0), 0u) << made;
  EXPECT_EQ(made.size(), std::string("/p/ITMLIST.TXT.tmp-" + alive + "-123456").size());
}

TEST(MoveFileNoReplace, AFailedCopyAcrossFileSystemsSaysTheRealReason) {
  struct stat shm {
  }, tmp{};
  if (::stat("/dev/shm", &shm) != 0 || ::stat(std::filesystem::temp_directory_path().c_str(), &tmp) != 0 ||
      shm.st_dev == tmp.st_dev) {
    GTEST_SKIP() << "no second file system to move to";
  }
  TempDir dir;
  const auto from = dir.write("a.ITM", std::string(400, 'x'));
  const std::string to = "/dev/shm/relicor-copy-test-" + std::to_string(::getpid()) + ".ITM";
  std::filesystem::remove(to);
  Status moved;
  {
    FaultScope full({faults::FileOp::kWrite, ENOSPC, "/dev/shm/relicor-copy-test", 0, -1});
    moved = MoveFileNoReplace(from, to);
  }
  ASSERT_FALSE(moved);
  EXPECT_EQ(moved.error(), "cannot move " + from + " to " + to + ": No space left on device");
  EXPECT_TRUE(FileExists(from));
  EXPECT_FALSE(std::filesystem::exists(to));
  for (const auto& entry : std::filesystem::directory_iterator("/dev/shm")) {
    EXPECT_EQ(entry.path().string().find("relicor-copy-test-" + std::to_string(::getpid())),
              std::string::npos)
        << "left " << entry.path();
  }
}

TEST(ListDirectory, TellsRegularFilesFromLinksDirectoriesAndFifos) {
  TempDir dir;
  dir.write("A.ITM", "x");
  std::filesystem::create_symlink(dir.file("A.ITM"), dir.file("LINK.IT0"));
  std::filesystem::create_directory(dir.file("SUB"));
  ASSERT_EQ(::mkfifo(dir.file("PIPE.IT0").c_str(), 0644), 0);
  auto entries = ListDirectory(dir.path());
  ASSERT_TRUE(entries) << entries.error();
  std::map<std::string, bool> regular;
  for (const DirEntry& entry : *entries) regular[entry.name] = entry.isRegular;
  const std::map<std::string, bool> expected{
      {"A.ITM", true}, {"LINK.IT0", false}, {"SUB", false}, {"PIPE.IT0", false}};
  EXPECT_EQ(regular, expected);
}

}  // namespace
}  // namespace relicor
