#include "playlist/path_list.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

// Runs `ops` on a list of `entries` without cursor: "+x" adds x, ">" next and "<" previous
// (answer 1 or 0), "=i" selects position i (answer), "^" first, "$" last, "0" reset,
// "c" clear, "s" sort, "~x" sets the cursor entry to x. Gives the answers, the entries each
// followed by "|", and "@" with the cursor position.
std::string RunOps(const std::vector<std::string>& entries, const std::vector<std::string>& ops) {
  PathList list;
  for (const std::string& entry : entries) list.append(entry);
  std::string out;
  for (const std::string& op : ops) {
    switch (op[0]) {
      case '+': list.add(op.substr(1)); break;
      case '>': out += list.next() ? "1" : "0"; break;
      case '<': out += list.previous() ? "1" : "0"; break;
      case '=': out += list.select(std::stoul(op.substr(1))) ? "1" : "0"; break;
      case '^': list.first(); break;
      case '$': list.last(); break;
      case '0': list.reset(); break;
      case 'c': list.clear(); break;
      case 's': list.sort(); break;
      case '~': list.setCurrent(op.substr(1)); break;
    }
  }
  for (const std::string& path : list.paths()) out += path + "|";
  return out + "@" + std::to_string(list.index());
}

TEST(PathList, Operations_MoveTheCursorWithinTheEnds) {
  const struct {
    std::vector<std::string> entries, ops;
    const char* expected;
  } rows[] = {
      {{}, {">", "<", "^", "$"}, "00@-1"},
      {{"a", "b"}, {"<", ">", "<", ">", ">", "<", "$"}, "010101a|b|@1"},
      {{"a", "b"}, {"$", "^", "0"}, "a|b|@-1"},
      // add inserts after the cursor entry (at the front without one) and moves onto it.
      {{"old"}, {">", "c", "+a", "+b", "+c", ">"}, "10a|b|c|@2"},
      {{"a", "b", "c"}, {"+front", "=2", "+after b"}, "1front|a|b|after b|c|@3"},
      {{"a", "b"}, {"=1", "=2", "~"}, "10a||@1"},
      // Sorting folds ASCII letters only, compares bytes unsigned, keeps ties in order and the
      // cursor on its entry.
      {{"b", "B", "a", "_x", "\xE9", "Z", "ab", "\xC9", "A"}, {"=1", "s"}, "1_x|a|A|ab|b|B|Z|\xC9|\xE9|@5"},
  };
  for (const auto& r : rows) EXPECT_EQ(RunOps(r.entries, r.ops), r.expected) << r.expected;
}

}  // namespace
}  // namespace orvo
