#include "base/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

using test::ReadBytes;

// Entries in `folder`: a temporary file left behind shows up here.
long Count(const std::string& folder) { return std::distance(std::filesystem::directory_iterator(folder), {}); }

// The file at the end of a relative link to an absolute one, or of a dangling link, is replaced
// whole; links and the mode stay.
TEST(WriteFileAtomically, Targets_ReplacedWholeKeepingModeAndLinks) {
  test::ScratchDir dir;
  const std::string path = dir.file("a.m3u");
  ASSERT_TRUE(WriteFileAtomically(path, "a much longer old content\n"));
  ASSERT_EQ(chmod(path.c_str(), 0640) + symlink(path.c_str(), dir.file("abs").c_str()) +
                symlink("abs", dir.file("rel").c_str()) + symlink("later.m3u", dir.file("dangling").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(dir.file("rel"), "new\n") && WriteFileAtomically(dir.file("dangling"), "x\n"));
  EXPECT_EQ(ReadBytes(path) + ReadBytes(dir.file("later.m3u")), "new\nx\n");
  struct stat st {}, link {};
  EXPECT_TRUE(stat(path.c_str(), &st) == 0 && (st.st_mode & 07777) == 0640);
  EXPECT_TRUE(lstat(dir.file("rel").c_str(), &link) == 0 && S_ISLNK(link.st_mode));
  EXPECT_EQ(Count(dir.path()), 5);
}

// Locked folders and files, missing folders, folders, pipes, and a write that fails part-way (a file
// size limit, like a full disk) change nothing and leave nothing behind.
TEST(WriteFileAtomically, Refusals_OldBytesStay) {
  test::ScratchDir dir;
  const std::string locked = dir.file("locked"), fixed = dir.file("fixed.m3u"), big = dir.file("big.m3u");
  ASSERT_EQ(chmod(dir.path().c_str(), 0777) + mkdir(locked.c_str(), 0777) + mkfifo(dir.file("pipe").c_str(), 0666), 0);
  for (const std::string& path : {locked + "/list.m3u", fixed, big}) {
    test::WriteBytes(path, "old\n");
    ASSERT_EQ(chmod(path.c_str(), path == fixed ? 0444 : 0666), 0);
  }
  ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
  EXPECT_TRUE(test::RunUnprivileged([&] {
    return !WriteFileAtomically(locked + "/list.m3u", "new\n") && !CanCreateFile(locked + "/x.m3u") &&
           !WriteFileAtomically(fixed, "new\n") && !ReplaceFileAtomically(fixed, "new\n") &&
           !CanCreateFile(dir.file("no/folder/x.m3u")) && !WriteFileAtomically("", "x") &&
           !WriteFileAtomically(dir.path(), "x") && !WriteFileAtomically(dir.file("pipe"), "x") &&
           !ReplaceFileAtomically(dir.file("new.m3u"), "x");
  }));
  EXPECT_TRUE(test::RunInChild([&] {
    const rlimit limit{1000, 1000};
    return signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
           !WriteFileAtomically(big, std::string(5000, 'x'));
  }));
  EXPECT_EQ(ReadBytes(locked + "/list.m3u") + ReadBytes(fixed) + ReadBytes(big), "old\nold\nold\n");
  EXPECT_EQ(Count(dir.path()) + Count(locked), 5);
}

}  // namespace
}  // namespace orvo
