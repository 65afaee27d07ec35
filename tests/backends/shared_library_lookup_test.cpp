#include "backends/shared_library_lookup.h"

#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/running_program.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

using test::ChildrenOf;
using test::ScratchDir;

// Two stand-ins for "/lib" and "/usr/lib" holding `first` and `second`
// (a name ending in "/" is a folder; {"-"} is a missing folder). `expected`
// is "" or "1:" / "2:" for a folder followed by the file name it gives.
struct Search {
  std::vector<std::string> first, second;
  std::string name, expected;
};

void PrintTo(const Search& search, std::ostream* out) { *out << '"' << search.name << '"'; }

class FindLibraryFileTest : public ::testing::TestWithParam<Search> {};

std::string Folder(const ScratchDir& dir, const std::vector<std::string>& names) {
  if (names == std::vector<std::string>{"-"}) return dir.file("missing");
  for (const std::string& name : names) {
    if (name.back() == '/') {
      EXPECT_EQ(mkdir(dir.file(name).c_str(), 0700), 0);
    } else {
      test::WriteBytes(dir.file(name), "");
    }
  }
  return dir.path();
}

TEST_P(FindLibraryFileTest, Search_GivesLastSharedObjectOfFirstMatchingFolder) {
  const Search& search = GetParam();
  ScratchDir a;
  ScratchDir b;
  const std::string first = Folder(a, search.first);
  const std::string second = Folder(b, search.second);
  std::string expected = search.expected;
  if (!expected.empty()) expected = (expected[0] == '1' ? first : second) + "/" + expected.substr(2);
  EXPECT_EQ(FindLibraryFileIn(search.name, first, second), expected);
  // No child of the test process is left, not even a zombie.
  EXPECT_TRUE(ChildrenOf(getpid()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindLibraryFileTest,
    ::testing::Values(
        // Several versions: the last shared object in listing order wins,
        // the name matched ignoring case.
        Search{{"libfoo.so.1", "libfoo.so.1.2.3", "libbar.so"}, {}, "libfoo", "1:libfoo.so.1.2.3"},
        Search{{"libfoo.so.1", "libfoo.so.1.2.3"}, {}, "LIBFOO", "1:libfoo.so.1.2.3"},
        Search{{"libbar.so.1", "libbar.so.1.debug", "libbar.txt"}, {}, "libbar", "1:libbar.so.1.debug"},
        // The shared-object test heeds case; names without one give the bare
        // folder, and the second folder is then never asked.
        Search{{"LIBFOO.SO"}, {}, "libfoo", "1:"},
        Search{{"libfoo.txt", "libfoo.d/", "libfoo-notes", "libfoo.sox", "libfoo.so-old"},
               {"libfoo.so.1"}, "libfoo", "1:"},
        // The second folder only without a match in the first.
        Search{{"libother.so.2"}, {"libgdk_pixbuf-2.0.so.0.4200.10"}, "libgdk_pixbuf-2.0.so",
               "2:libgdk_pixbuf-2.0.so.0.4200.10"},
        Search{{"libfoo.so.1"}, {"libfoo.so.9"}, "libfoo", "1:libfoo.so.1"},
        Search{{"-"}, {"libfoo.so"}, "libfoo", "2:libfoo.so"},
        Search{{"libfoo.so.1"}, {}, "libnothing", ""},
        Search{{"-"}, {"-"}, "libfoo", ""},
        // A name with a folder never matches a bare file name.
        Search{{"libgdk_pixbuf-2.0.so"}, {"libgdk_pixbuf-2.0.so"}, "/usr/lib/libgdk_pixbuf-2.0.so", ""},
        // The name is plain text, no pattern or option.
        Search{{"libfooXso.1"}, {}, "libfoo.so", ""},
        Search{{"lib-v.so.2"}, {}, "-v", "1:lib-v.so.2"},
        Search{{"lib[ab]*.so"}, {}, "[ab]*", "1:lib[ab]*.so"},
        // Odd file names are kept whole; a blank after "so" spoils the test.
        Search{{"lib odd|name.so.1"}, {}, "odd|name", "1:lib odd|name.so.1"},
        Search{{}, {"libspace.so "}, "libspace", "2:"}));

TEST(FindLibraryFile, ManyMatchesAndRealFolders_AllOutputReadNoChildLeft) {
  // More output than a pipe holds, so ls and grep must be read while they run.
  ScratchDir dir;
  const std::string stem = "libmany-" + std::string(60, 'x') + "-";
  for (int i = 0; i < 1200; ++i) test::WriteBytes(dir.file(stem + std::to_string(10000 + i) + ".so.1"), "");
  EXPECT_EQ(FindLibraryFileIn("libmany", dir.path(), "/nonexistent"), dir.file(stem + "11199.so.1"));
  // What start-up asks for: the listing holds bare names only.
  EXPECT_EQ(FindLibraryFile("/usr/lib/libgdk_pixbuf-2.0.so"), "");
  EXPECT_TRUE(ChildrenOf(getpid()).empty());
}

}  // namespace
}  // namespace orvo
