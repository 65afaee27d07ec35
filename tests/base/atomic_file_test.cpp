#include "base/atomic_file.h"

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
  }
  return names;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

TEST(WriteFileAtomically, MissingFile_CreatedWithContentAndNothingElse) {
  ScratchDir dir;
  ASSERT_TRUE(WriteFileAtomically(dir.file("new.m3u"), "a\nb\n"));
  EXPECT_EQ(ReadBytes(dir.file("new.m3u")), "a\nb\n");
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"new.m3u"});
}

TEST(WriteFileAtomically, ExistingFile_ContentReplacedAndModeKept) {
  ScratchDir dir;
  const std::string path = dir.file("orvo.prefs");
  WriteBytes(path, "a much longer old content that must not survive in any part\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(path, "short\n"));
  EXPECT_EQ(ReadBytes(path), "short\n");
  EXPECT_EQ(ModeOf(path) & 07777, 0640u);
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"orvo.prefs"});

  ASSERT_TRUE(WriteFileAtomically(path, ""));
  EXPECT_EQ(ReadBytes(path), "");
}

TEST(WriteFileAtomically, SymbolicLinks_TargetReplacedAndLinksKept) {
  ScratchDir dir;
  ASSERT_EQ(mkdir(dir.file("real").c_str(), 0700), 0);
  const std::string target = dir.file("real/skin.ini");
  WriteBytes(target, "old\n");
  // One absolute link and one relative link pointing to that link.
  ASSERT_EQ(symlink(target.c_str(), dir.file("absolute.ini").c_str()), 0);
  ASSERT_EQ(symlink("absolute.ini", dir.file("relative.ini").c_str()), 0);

  ASSERT_TRUE(WriteFileAtomically(dir.file("relative.ini"), "new\n"));
  EXPECT_EQ(ReadBytes(target), "new\n");
  EXPECT_TRUE(S_ISLNK(ModeOf(dir.file("absolute.ini"))));
  EXPECT_TRUE(S_ISLNK(ModeOf(dir.file("relative.ini"))));
  EXPECT_EQ(ResolveLinks(dir.file("relative.ini")), target);

  // A dangling link gets the file it points to.
  ASSERT_EQ(symlink("later.m3u", dir.file("link.m3u").c_str()), 0);
  ASSERT_TRUE(WriteFileAtomically(dir.file("link.m3u"), "x\n"));
  EXPECT_EQ(ReadBytes(dir.file("later.m3u")), "x\n");
  EXPECT_TRUE(S_ISLNK(ModeOf(dir.file("link.m3u"))));
}

TEST(WriteFileAtomically, MissingFolder_FailsWithoutCreatingAnything) {
  ScratchDir dir;
  EXPECT_FALSE(WriteFileAtomically(dir.file("no/such/folder/x.m3u"), "x\n"));
  EXPECT_FALSE(CanCreateFile(dir.file("no/such/folder/x.m3u")));
  EXPECT_TRUE(Names(dir.path()).empty());
  EXPECT_FALSE(WriteFileAtomically("", "x"));
}

TEST(WriteFileAtomically, UnwritableFolder_FailsAndOldBytesStay) {
  ScratchDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  const std::string folder = dir.file("locked");
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  WriteBytes(folder + "/list.m3u", "old\n");
  ASSERT_EQ(chmod((folder + "/list.m3u").c_str(), 0666), 0);
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  const bool refused = test::RunUnprivileged([&] {
    return !WriteFileAtomically(folder + "/list.m3u", "new\n") &&
           !WriteFileAtomically(folder + "/other.m3u", "new\n") && !CanCreateFile(folder + "/other.m3u");
  });
  EXPECT_TRUE(refused);
  EXPECT_EQ(ReadBytes(folder + "/list.m3u"), "old\n");
  EXPECT_EQ(Names(folder), std::vector<std::string>{"list.m3u"});
}

TEST(WriteFileAtomically, ReadOnlyFile_RefusedAndUnchanged) {
  ScratchDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
  const std::string path = dir.file("fixed.m3u");
  WriteBytes(path, "old\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(test::RunUnprivileged([&] {
    return !WriteFileAtomically(path, "new\n") && !ReplaceFileAtomically(path, "new\n") &&
           !CanWriteExistingFile(path);
  }));
  EXPECT_EQ(ReadBytes(path), "old\n");
}

TEST(WriteFileAtomically, FailingWrite_OldFileStaysAndNoTemporaryRemains) {
  ScratchDir dir;
  const std::string path = dir.file("list.m3u");
  WriteBytes(path, "old\n");
  // A file size limit makes the write fail part-way, like a full disk.
  EXPECT_TRUE(test::RunInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0 && !WriteFileAtomically(path, std::string(5000, 'x'));
  }));
  EXPECT_EQ(ReadBytes(path), "old\n");
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"list.m3u"});
}

// Folders and pipes are neither read nor replaced; neither may block or loop.
TEST(ReadRegularFile, FilesFoldersAndPipes_OnlyRegularFilesReadOrWritten) {
  ScratchDir dir;
  WriteBytes(dir.file("a"), std::string("x\0y", 3));
  bool writable = false;
  EXPECT_EQ(ReadRegularFile(dir.file("a"), &writable), std::string("x\0y", 3));
  EXPECT_TRUE(writable);
  EXPECT_EQ(ReadRegularFile(dir.file("missing"), &writable), std::nullopt);
  EXPECT_FALSE(writable);
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);  // without a writer
  EXPECT_EQ(ReadRegularFile(dir.file("pipe")), std::nullopt);
  EXPECT_EQ(ReadRegularFile(dir.path(), &writable), std::nullopt);
  EXPECT_FALSE(writable);
  EXPECT_FALSE(WriteFileAtomically(dir.path(), "x"));
  EXPECT_FALSE(WriteFileAtomically(dir.file("pipe"), "x"));
  EXPECT_TRUE(S_ISFIFO(ModeOf(dir.file("pipe"))));
}

// A file over the bound, or one that only looks small, is neither read nor
// written back; a file at the bound is read whole.
TEST(ReadRegularFile, FilesOverTheBound_ReadLikeUnreadable) {
  ScratchDir dir;
  const struct {
    off_t size;
    bool read;
  } cases[] = {{off_t{1} << 40, false}, {off_t{kMaxReadBytes} + 1, false}, {kMaxReadBytes, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const std::string path = dir.file("sparse.m3u");
    WriteBytes(path, "");
    ASSERT_EQ(truncate(path.c_str(), c.size), 0);
    bool writable = true;
    const std::optional<std::string> content = ReadRegularFile(path, &writable);
    EXPECT_EQ(content.has_value(), c.read);
    EXPECT_EQ(content.value_or("").size(), c.read ? kMaxReadBytes : 0u);
    EXPECT_EQ(writable, c.read);
  }
}

}  // namespace
}  // namespace orvo
