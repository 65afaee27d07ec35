#include "base/ini_file.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_dir.h"

namespace orvo {
namespace {

// Runs `script` on the file f.ini holding `before` (null: none): "[g" selects group g (answer "+" or
// "-"), "?k" reads k as text (default "-"), "#k" as a number (default -1), "k=v" writes, "!" creates
// f.ini anew and "!name" another file (answer "+" or "-"), "@name" opens another file, "*text" puts
// text into f.ini behind the reader's back. Gives the answers and "|" each, then f.ini after close.
std::string RunScript(const char* before, const std::vector<std::string>& script) {
  test::ScratchDir dir;
  const std::string path = dir.file("f.ini");
  if (before) test::WriteBytes(path, before);
  IniFile file;
  std::string out = file.open(path) ? "" : "unopened|";
  for (const std::string& op : script) {
    const std::string arg = op.substr(1), target = arg.empty() ? path : dir.file(arg);
    switch (op[0]) {
      case '[': out += file.selectGroup(arg) ? "+|" : "-|"; break;
      case '?': out += file.readString(arg, "-") + "|"; break;
      case '#': out += std::to_string(file.readInteger(arg, -1)) + "|"; break;
      case '!': out += file.create(target) ? "+|" : "-|"; break;
      case '@': file.open(target); break;
      case '*': test::WriteBytes(path, arg); break;
      default: file.writeString(op.substr(0, op.find('=')), op.substr(op.find('=') + 1));
    }
  }
  out += file.close() ? "" : "unclosed|";
  return out + test::ReadBytes(path);
}

TEST(IniFile, Scripts_LookupsBySectionAndCaseWritesRewriteTheWholeFile) {
  const struct {
    const char* before;
    std::vector<std::string> script;
    std::string expected;  // ending in "=": the bytes stay as they were
  } rows[] = {
      // Lines are told apart by their first character; a write normalises every line and
      // puts a new key at the end of its section.
      {";note  \n;  two\n [Display] x\n[ sp ]\n[open\n#x=1\n=v\na = b = c\n  Key=Value  \r\n\r\n"
       "\t k \t=\t  v w\t\rlonely  \nlast", {"[OPEN", "?#x", "?", "?a", "?key", "?K", "?lonely", "new=1"},
       "+|1|v|b = c|Value|v w||; note  \n;  two\n[Display]\n[ sp ]\n[open]\n#x = 1\n = v\na = b = c\n"
       "Key = Value  \nk = v w\t\nlonely = \nlast = \nnew = 1\n"},
      {"\xEF\xBB\xBF  Key=Value  \r\n;c\r\n[g] x\r\nrepeat =1\r\n  \t", {"?key", "[missing", "[G", "#REPEAT"},
       "Value|-|+|1|="},
      // The first of twins counts, and a write takes the spelling given.
      {"repeat = 0\nk = first\nk = second\n", {"#REPEAT", "Repeat=1", "?k", "K=changed", "?k"},
       "0|first|changed|Repeat = 1\nK = changed\nk = second\n"},
      // Comments hold no keys; only the first group of a name counts; "" is the top level.
      {"k = top\n; k = c\n[a]\nj = 1\n[B]\nk = b\n[a]\nk = a2\n", {"?j", "[A", "#j", "?k", "[b", "?k", "[", "?k"},
       "-|+|1|-|+|b|+|top|="},
      // Numbers are read from the leading digits after one sign, saturating; texts trimmed.
      {"a = 12abc\nb = abc\nc =\nd =  -7 \ne = +3\nf = --3\ng = - 3\nh = 99999999999999999999\n"
       "i = -99999999999999999999\nj = -2147483648\nk =  \t x y \t \n",
       {"#a", "#b", "#c", "#d", "#e", "#f", "#g", "#h", "#i", "#j", "#missing", "?k", "?c"},
       "12|0|0|-7|3|0|0|2147483647|-2147483648|-2147483648|-1|x y||="},
      // A missing group finds nothing and is appended at the end by its first write.
      {"k = top\n[display]\nx = 1\n", {"[Player", "?k", "windowx=10", "windowy=20", "#windowx", "[player"},
       "-|-|10|+|k = top\n[display]\nx = 1\n[Player]\nwindowx = 10\nwindowy = 20\n"},
      {"a = 1\n; note\n[g]\nb = 2\n; end\n[h]\n", {"new=x", "[g", "b=3", "n2=y", "[", "top2=z"},
       "+|+|a = 1\n; note\nnew = x\ntop2 = z\n[g]\nb = 3\n; end\nn2 = y\n[h]\n"},
      // A UTF-8 file holds Latin-1 texts converted both ways; its mark stays, and the line
      // break written after it does not pile up. Beyond Latin-1 or malformed reads empty, and
      // a sequence cut off at the end is dropped.
      {"\xEF\xBB\xBFname = caf\xC3\xA9\r\n[Gr\xC3\xBC\xC3\x9F]\n", {"?name", "[GR\xFC\xDF", "k\xE9y=\xFC", "?K\xE9Y"},
       "caf\xE9|+|\xFC|\xEF\xBB\xBF\nname = caf\xC3\xA9\n[Gr\xC3\xBC\xC3\x9F]\nk\xC3\xA9y = \xC3\xBC\n"},
      {"\xEF\xBB\xBF\nname = caf\xC3\xA9\n", {"name=caf\xE9"}, "="},
      {"\xEF\xBB\xBFwide = \xE2\x82\xAC\nbad = a\xC3(\nlone = \x80\nover = \xC0\xA9\ncut = ab\xC3\n"
       "cut3 = ab\xE0\xA0\nok = \xC3\xA9", {"?wide", "?bad", "?lone", "?over", "?cut", "?cut3", "?ok"},
       "||||ab|ab|\xE9|="},
      // Without a file, writes stay in memory and close creates none; but a file that has
      // appeared meanwhile is written.
      {nullptr, {"last_one=/x.m3u", "?last_one"}, "unopened|/x.m3u|unclosed|<missing>"},
      {nullptr, {"k=1", "*old = 1\n"}, "unopened|k = 1\n"},
      // create starts an empty 8-bit file, written at close even without writes; where no file
      // can be made, writes do nothing. Opening another file writes the first one back.
      {"\xEF\xBB\xBFold = 1\n", {"!", "#old", "a=\xE9"}, "+|-1|a = \xE9\n"},
      {"old\n", {"!"}, "+|"},
      {"k = 1\n", {"!missing/x", "repeat=1", "#repeat"}, "-|-1|k = 1\n"},
      {"x=1\n", {"x=5", "@b.ini", "#x"}, "-1|x = 5\n"},
  };
  for (const auto& r : rows) {
    const bool same = r.expected.back() == '=';
    const std::string expected = same ? r.expected.substr(0, r.expected.size() - 1) + r.before : r.expected;
    EXPECT_EQ(RunScript(r.before, r.script), expected) << (r.before ? r.before : "no file");
  }
}

}  // namespace
}  // namespace orvo
