#include "backends/shared_library_lookup.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/running_program.h"
#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

// Stand-ins for "/lib" and "/usr/lib" (a name ending in "/" is a folder;
// "-" leaves the folder out). The last shared object of the first folder
// listing a match wins; the result names the folder as "1:" or "2:".
TEST(FindLibraryFile, Folders_LastSharedObjectOfTheFirstMatchingFolder) {
  const std::string rows[][4] = {  // first folder, second, name, result
      {"libfoo.so.1 libfoo.so.1.2.3 libbar.so", "", "LIBFOO", "1:libfoo.so.1.2.3"},
      {"libbar.so.1 libbar.so.1.debug libbar.txt", "", "libbar", "1:libbar.so.1.debug"},
      {"LIBFOO.SO libfoo.d/ libfoo.sox libfoo.so-old", "libfoo.so.1", "libfoo", "1:"},
      {"libother.so.2", "libgdk_pixbuf-2.0.so.0.4200.10", "libgdk_pixbuf-2.0.so", "2:libgdk_pixbuf-2.0.so.0.4200.10"},
      {"-", "libfoo.so", "libfoo", "2:libfoo.so"},
      {"libfoo.so.1", "libfoo.so.9", "libfoo", "1:libfoo.so.1"},
      {"libfoo.so.1", "-", "libnothing", ""},
      {"libfoo.so", "libfoo.so", "/lib/libfoo.so", ""},  // listings hold bare names
      {"libfooXso.1 lib-v.so.2", "", "-v", "1:lib-v.so.2"},  // the name is no pattern or option
  };
  for (const auto& [first, second, name, result] : rows) {
    test::ScratchDir a, b;
    std::string folders[] = {a.path(), b.path()};
    for (int i = 0; i < 2; ++i) {
      std::istringstream names(i == 0 ? first : second);
      for (std::string n; names >> n;) {
        if (n == "-") folders[i] = "/nonexistent";
        if (n != "-") n.back() == '/' ? (void)mkdir((folders[i] + "/" + n).c_str(), 0700) : test::WriteBytes(folders[i] + "/" + n, "");
      }
    }
    EXPECT_EQ(FindLibraryFileIn(name, folders[0], folders[1]),
              result.empty() ? result : folders[result[0] - '1'] + "/" + result.substr(2)) << name;
    EXPECT_TRUE(test::ChildrenOf(getpid()).empty()) << "no child left";
  }
  // More names than a pipe holds: the tools are read while they run.
  test::ScratchDir many;
  for (int i = 0; i < 1200; ++i) test::WriteBytes(many.file("libmany-" + std::string(60, 'x') + std::to_string(1000 + i) + ".so"), "");
  EXPECT_EQ(FindLibraryFileIn("libmany", many.path(), "/nonexistent"), many.file("libmany-" + std::string(60, 'x') + "2199.so"));
}

}  // namespace
}  // namespace orvo
