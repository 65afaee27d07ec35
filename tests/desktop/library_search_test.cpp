#include "desktop/library_search.h"

#include <unistd.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/running_program.h"
#include "tests/support/temp_dir.h"

namespace orvo {
namespace {

using test::ChildrenOf;
using test::TempDir;

// Two stand-ins for "/lib" and "/usr/lib". After every search no child of
// the test process may be left, not even a zombie.
class FindLibraryFileTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(ChildrenOf(getpid()).empty()); }

  std::string Find(const std::string& name) {
    return FindLibraryFileIn(name, first_.Path(), second_.Path());
  }
  std::string First(const std::string& file) const { return first_.Path() + "/" + file; }
  std::string Second(const std::string& file) const { return second_.Path() + "/" + file; }

  TempDir first_{"orvo-lib"};
  TempDir second_{"orvo-usrlib"};
};

TEST_F(FindLibraryFileTest, SeveralVersions_LastSharedObjectInListingWins) {
  first_.Write("libfoo.so.1", "");
  first_.Write("libfoo.so.1.2.3", "");
  first_.Write("libbar.so", "");
  EXPECT_EQ(Find("libfoo"), First("libfoo.so.1.2.3"));
}

TEST_F(FindLibraryFileTest, UpperCaseName_MatchesIgnoringCase) {
  first_.Write("libfoo.so.1", "");
  first_.Write("libfoo.so.1.2.3", "");
  EXPECT_EQ(Find("LIBFOO"), First("libfoo.so.1.2.3"));
}

TEST_F(FindLibraryFileTest, SharedObjectTestHeedsCase_UpperCaseSoGivesBareFolder) {
  first_.Write("LIBFOO.SO", "");
  EXPECT_EQ(Find("libfoo"), first_.Path() + "/");
}

TEST_F(FindLibraryFileTest, MatchOnlyInSecondFolder_GivesSecondFolderFile) {
  first_.Write("libother.so.2", "");
  second_.Write("libgdk_pixbuf-2.0.so.0.4200.10", "");
  EXPECT_EQ(Find("libgdk_pixbuf-2.0.so"), Second("libgdk_pixbuf-2.0.so.0.4200.10"));
}

TEST_F(FindLibraryFileTest, MatchInBothFolders_GivesFirstFolderOnly) {
  first_.Write("libfoo.so.1", "");
  second_.Write("libfoo.so.9", "");
  EXPECT_EQ(Find("libfoo"), First("libfoo.so.1"));
}

TEST_F(FindLibraryFileTest, NameWithSlash_GivesEmpty) {
  first_.Write("libgdk_pixbuf-2.0.so", "");
  second_.Write("libgdk_pixbuf-2.0.so", "");
  EXPECT_EQ(Find("/usr/lib/libgdk_pixbuf-2.0.so"), "");
  EXPECT_EQ(FindLibraryFile("/usr/lib/libgdk_pixbuf-2.0.so"), "");
}

TEST_F(FindLibraryFileTest, OnlyNonLibraryMatches_GiveBareFolder) {
  first_.Write("libfoo.txt", "");
  first_.MakeFolder("libfoo.d");
  first_.Write("libfoo-notes", "");
  first_.Write("libfoo.sox", "");
  first_.Write("libfoo.so-old", "");
  second_.Write("libfoo.so.1", "");  // never asked: the first folder had lines
  EXPECT_EQ(Find("libfoo"), first_.Path() + "/");
}

TEST_F(FindLibraryFileTest, DotSoDotInsideName_Counts) {
  first_.Write("libbar.so.1", "");
  first_.Write("libbar.so.1.debug", "");
  first_.Write("libbar.txt", "");
  EXPECT_EQ(Find("libbar"), First("libbar.so.1.debug"));
}

TEST_F(FindLibraryFileTest, NoMatchAnywhere_GivesEmpty) {
  first_.Write("libfoo.so.1", "");
  EXPECT_EQ(Find("libnothing"), "");
  EXPECT_EQ(FindLibraryFileIn("libfoo", "/nonexistent-orvo-a", "/nonexistent-orvo-b"), "");
}

TEST_F(FindLibraryFileTest, MissingFirstFolder_SearchesSecond) {
  second_.Write("libfoo.so", "");
  EXPECT_EQ(FindLibraryFileIn("libfoo", "/nonexistent-orvo-lib", second_.Path()),
            Second("libfoo.so"));
}

TEST_F(FindLibraryFileTest, NameIsPlainText_NotPatternOrOption) {
  // As a pattern "." would match the "X" and give the bare folder.
  first_.Write("libfooXso.1", "");
  EXPECT_EQ(Find("libfoo.so"), "");
  first_.Write("lib-v.so.2", "");
  EXPECT_EQ(Find("-v"), First("lib-v.so.2"));
  first_.Write("lib[ab]*.so", "");
  EXPECT_EQ(Find("[ab]*"), First("lib[ab]*.so"));
}

TEST_F(FindLibraryFileTest, OddFileNames_KeptWhole) {
  first_.Write("lib odd|name.so.1", "");
  EXPECT_EQ(Find("odd|name"), First("lib odd|name.so.1"));
  // Blanks around a name are trimmed; a blank after "so" spoils the test.
  second_.Write("libspace.so ", "");
  EXPECT_EQ(Find("libspace"), second_.Path() + "/");
}

TEST_F(FindLibraryFileTest, ManyMatches_AllReadAndLastWins) {
  // More output than a pipe holds, so ls and grep must be read while they run.
  for (int i = 0; i < 1200; ++i) {
    first_.Write("libmany-" + std::string(60, 'x') + "-" + std::to_string(10000 + i) + ".so.1", "");
  }
  EXPECT_EQ(Find("libmany"), First("libmany-" + std::string(60, 'x') + "-11199.so.1"));
}

TEST_F(FindLibraryFileTest, RealFolders_NameWithFolderNeverMatches) {
  // What start-up asks for: the listing holds bare names only.
  EXPECT_EQ(FindLibraryFile("/usr/lib/libgdk_pixbuf-2.0.so"), "");
}

}  // namespace
}  // namespace orvo
