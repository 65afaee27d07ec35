#include "base/ini_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"

namespace orvo {

// Readable failure messages for line lists.
void PrintTo(const IniLine& line, std::ostream* out) {
  *out << static_cast<int>(line.kind) << ":[" << line.name << "]=[" << line.value << "]";
}

namespace {

using test::Exists;
using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

using Kind = IniLine::Kind;

IniLine Entry(std::string key, std::string value) { return {Kind::Entry, std::move(key), std::move(value)}; }
IniLine Group(std::string name) { return {Kind::Group, std::move(name), {}}; }
IniLine Comment(std::string text) { return {Kind::Comment, std::move(text), {}}; }

// Writes `before`, opens it, runs `edit` and closes; gives the file's bytes.
template <typename Edit>
std::string Rewrite(const std::string& before, Edit edit) {
  ScratchDir dir;
  const std::string path = dir.file("file.ini");
  WriteBytes(path, before);
  IniFile file;
  EXPECT_TRUE(file.open(path));
  edit(file);
  EXPECT_TRUE(file.close());
  return ReadBytes(path);
}

TEST(ParseIni, LineKinds_ClassifiedByFirstCharacter) {
  const std::vector<IniLine> expected = {
      Comment("note  "), Comment(" two blanks"), Comment(""),    Group("Display"),
      Group(" spaced "), Group("open"),          Entry("#x", "1"), Entry("", "v"),
      Entry("a", "b = c"),
  };
  EXPECT_EQ(ParseIni(";note  \n;  two blanks\n;\n [Display] dropped\n[ spaced ]\n[open\n#x=1\n=v\na = b = c"),
            expected);
}

TEST(ParseIni, EntrySpacing_KeyTrimmedValueKeepsTrailingBlanks) {
  EXPECT_EQ(ParseIni("  Key=Value  \n"), std::vector<IniLine>{Entry("Key", "Value  ")});
  EXPECT_EQ(ParseIni("\t key \t=\t  v w\t"), std::vector<IniLine>{Entry("key", "v w\t")});
}

TEST(ParseIni, LineEnds_CrLfRunsAndBlankLinesProduceNothing_LineWithoutEqualsKept) {
  const std::vector<IniLine> expected = {Entry("a", "1"), Entry("b", "2"), Entry("c", "3"), Entry("d", "4")};
  EXPECT_EQ(ParseIni("a=1\r\nb=2\rc=3\n\n\r\n  \t \r\nd=4"), expected);
  EXPECT_EQ(ParseIni("a=1\n \t "), std::vector<IniLine>{Entry("a", "1")});
  EXPECT_TRUE(ParseIni("").empty());
  EXPECT_TRUE(ParseIni("\r\n\n\r").empty());
  // A line without "=" is a key with an empty value.
  EXPECT_EQ(ParseIni("lonely  \nnext=1\nlast"),
            (std::vector<IniLine>{Entry("lonely", ""), Entry("next", "1"), Entry("last", "")}));
}

TEST(FormatIni, NormalisedForm_WithByteOrderMarkForUtf8) {
  const std::vector<IniLine> lines = {Comment("c"), Entry("k", ""), Group("g"), Entry("x", "1  ")};
  EXPECT_EQ(FormatIni(lines, false), "; c\nk = \n[g]\nx = 1  \n");
  EXPECT_EQ(FormatIni(lines, true), "\xEF\xBB\xBF\n; c\nk = \n[g]\nx = 1  \n");
  EXPECT_EQ(FormatIni({}, false), "");
}

TEST(ParseLeadingInteger, LeadingDigitsOnly) {
  EXPECT_EQ(ParseLeadingInteger("12abc"), 12);
  EXPECT_EQ(ParseLeadingInteger("abc"), 0);
  EXPECT_EQ(ParseLeadingInteger(""), 0);
  EXPECT_EQ(ParseLeadingInteger("  -7 "), -7);
  EXPECT_EQ(ParseLeadingInteger("+3"), 3);
  EXPECT_EQ(ParseLeadingInteger("--3"), 0);
  EXPECT_EQ(ParseLeadingInteger("- 3"), 0);
  EXPECT_EQ(ParseLeadingInteger("99999999999999999999"), INT32_MAX);
  EXPECT_EQ(ParseLeadingInteger("-99999999999999999999"), INT32_MIN);
  EXPECT_EQ(ParseLeadingInteger("-2147483648"), INT32_MIN);
}

TEST(IniFile, OpenAndCloseWithoutWrites_BytesUntouched) {
  const std::string messy = "\xEF\xBB\xBF  Key=Value  \r\n\r\n;c\r\n[g] x\r\nrepeat =1\r\n  \t";
  EXPECT_EQ(Rewrite(messy, [](IniFile& f) {
              EXPECT_EQ(f.readString("key", ""), "Value");
              EXPECT_FALSE(f.selectGroup("missing"));
              EXPECT_TRUE(f.selectGroup("G"));
              EXPECT_EQ(f.readInteger("REPEAT", 5), 1);
            }),
            messy);
}

TEST(IniFile, AnyWrite_RewritesWholeFileNormalised) {
  const std::string before = "  Key=Value  \r\n\r\n;comment\r\n  [Group] after\r\nrepeat =1\r\n\tother\t=  x";
  EXPECT_EQ(Rewrite(before, [](IniFile& f) { f.writeInteger("added", -3); }),
            "Key = Value  \n; comment\nadded = -3\n[Group]\nrepeat = 1\nother = x\n");
  // Writing the value a key already has rewrites too.
  EXPECT_EQ(Rewrite("a=1\r\n", [](IniFile& f) { f.writeInteger("a", 1); }), "a = 1\n");
}

TEST(IniFile, KeyCase_FoundIgnoringCaseAndSpellingTakenFromWrite) {
  EXPECT_EQ(Rewrite("repeat = 0\n", [](IniFile& f) {
              EXPECT_EQ(f.readInteger("REPEAT", 7), 0);
              f.writeInteger("Repeat", 1);
              EXPECT_EQ(f.readInteger("repeat", 7), 1);
            }),
            "Repeat = 1\n");
}

TEST(IniFile, SameKeyTwice_FirstIsReadAndWritten) {
  EXPECT_EQ(Rewrite("k = first\nk = second\n", [](IniFile& f) {
              EXPECT_EQ(f.readString("k", ""), "first");
              f.writeString("k", "changed");
              EXPECT_EQ(f.readString("k", ""), "changed");
            }),
            "k = changed\nk = second\n");
}

TEST(IniFile, Lookups_OnlyInCurrentSection) {
  Rewrite("k = top\n; k = comment\n[a]\nj = 1\n[B]\nk = b\n[a]\nk = second a\n", [](IniFile& f) {
    EXPECT_EQ(f.readString("k", "-"), "top");
    EXPECT_EQ(f.readString("j", "-"), "-");
    EXPECT_TRUE(f.selectGroup("A"));
    EXPECT_EQ(f.readInteger("j", 9), 1);
    EXPECT_EQ(f.readString("k", "-"), "-");  // only the first [a] counts
    EXPECT_TRUE(f.selectGroup("b"));
    EXPECT_EQ(f.readString("k", "-"), "b");
    EXPECT_TRUE(f.selectGroup(""));
    EXPECT_EQ(f.readString("k", "-"), "top");
  });
}

TEST(IniFile, MissingGroup_NothingFoundAndFirstWriteAppendsItAtEnd) {
  EXPECT_EQ(Rewrite("k = top\n[display]\nx = 1\n", [](IniFile& f) {
              EXPECT_FALSE(f.selectGroup("Player"));
              EXPECT_EQ(f.readString("k", "-"), "-");
              f.writeInteger("windowx", 10);
              f.writeInteger("windowy", 20);
              EXPECT_EQ(f.readInteger("windowx", 0), 10);
              EXPECT_TRUE(f.selectGroup("player"));
            }),
            "k = top\n[display]\nx = 1\n[Player]\nwindowx = 10\nwindowy = 20\n");
  // Selecting another group before writing creates no header.
  EXPECT_EQ(Rewrite("[a]\n", [](IniFile& f) {
              EXPECT_FALSE(f.selectGroup("gone"));
              EXPECT_TRUE(f.selectGroup("a"));
              f.writeString("k", "v");
            }),
            "[a]\nk = v\n");
}

TEST(IniFile, NewEntries_InsertedAtEndOfTheirSection) {
  // Top level: after its last line, before the first header.
  EXPECT_EQ(Rewrite("a = 1\n; note\n[g]\nb = 2\n", [](IniFile& f) { f.writeString("new", "x"); }),
            "a = 1\n; note\nnew = x\n[g]\nb = 2\n");
  // A file that begins with a header gets its top-level entry at the very start.
  EXPECT_EQ(Rewrite("[g]\nb = 2\n", [](IniFile& f) { f.writeString("new", "x"); }),
            "new = x\n[g]\nb = 2\n");
  // A group: before the next header, after the section's comments.
  EXPECT_EQ(Rewrite("[g]\nb = 2\n; end of g\n[h]\nc = 3\n", [](IniFile& f) {
              EXPECT_TRUE(f.selectGroup("g"));
              f.writeString("new", "x");
              f.writeString("newer", "y");
            }),
            "[g]\nb = 2\n; end of g\nnew = x\nnewer = y\n[h]\nc = 3\n");
  // Lines inserted at the top level keep the selected group's place valid.
  EXPECT_EQ(Rewrite("[g]\nb = 2\n", [](IniFile& f) {
              f.writeString("top", "1");
              EXPECT_TRUE(f.selectGroup("g"));
              f.writeString("b", "3");
              EXPECT_TRUE(f.selectGroup(""));
              f.writeString("top2", "2");
            }),
            "top = 1\ntop2 = 2\n[g]\nb = 3\n");
}

TEST(IniFile, ReadValues_TrimmedAndConvertedLikeNumbers) {
  Rewrite("int = 12abc\nword = abc\nempty =\nspaced =  \t x y \t \n", [](IniFile& f) {
    EXPECT_EQ(f.readInteger("int", 5), 12);
    EXPECT_EQ(f.readInteger("word", 5), 0);
    EXPECT_EQ(f.readInteger("empty", 5), 0);
    EXPECT_EQ(f.readInteger("missing", 5), 5);
    EXPECT_EQ(f.readString("spaced", ""), "x y");
    EXPECT_EQ(f.readString("empty", "d"), "");
    EXPECT_EQ(f.readString("missing", "d"), "d");
  });
}

TEST(IniFile, Utf8File_ConvertedBothWaysMarkKeptAndUnrepresentableReadEmpty) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string after = Rewrite(bom + "name = caf\xC3\xA9\r\n[Gr\xC3\xBC\xC3\x9F]\n", [](IniFile& f) {
    EXPECT_EQ(f.readString("name", ""), "caf\xE9");
    EXPECT_TRUE(f.selectGroup("GR\xFC\xDF"));
    f.writeString("k\xE9y", "\xFC");
    EXPECT_EQ(f.readString("K\xE9Y", ""), "\xFC");
  });
  EXPECT_EQ(after, bom + "\nname = caf\xC3\xA9\n[Gr\xC3\xBC\xC3\x9F]\nk\xC3\xA9y = \xC3\xBC\n");
  // The empty line after the mark is dropped again, so nothing grows.
  EXPECT_EQ(Rewrite(after, [](IniFile& f) { f.writeString("name", "caf\xE9"); }), after);

  // Values beyond Latin-1 or not valid UTF-8 read empty; a cut sequence at
  // the end is dropped.
  Rewrite("\xEF\xBB\xBFwide = \xE2\x82\xAC\nbad = a\xC3(\nlone = \x80\noverlong = \xC0\xA9\ncut = ab\xC3\n"
          "cut3 = ab\xE2\x82\nplain = ok\n",
          [](IniFile& f) {
            EXPECT_EQ(f.readString("wide", "d"), "");
            EXPECT_EQ(f.readString("bad", "d"), "");
            EXPECT_EQ(f.readString("lone", "d"), "");
            EXPECT_EQ(f.readString("overlong", "d"), "");
            EXPECT_EQ(f.readString("cut", "d"), "ab");
            EXPECT_EQ(f.readString("cut3", "d"), "ab");
            EXPECT_EQ(f.readString("plain", "d"), "ok");
          });
}

TEST(IniFile, MissingFile_WritesStayInMemoryAndFileIsNeverCreated) {
  ScratchDir dir;
  const std::string path = dir.file("orvo.prefs");
  IniFile file;
  EXPECT_FALSE(file.open(path));
  EXPECT_EQ(file.readInteger("repeat", 4), 4);
  file.writeString("last_one", "/x.m3u");
  EXPECT_EQ(file.readString("last_one", ""), "/x.m3u");
  EXPECT_FALSE(file.close());
  EXPECT_FALSE(Exists(path));

  // A file that appears before close is written by the second try.
  EXPECT_FALSE(file.open(path));
  file.writeInteger("k", 1);
  WriteBytes(path, "old = 1\n");
  EXPECT_TRUE(file.close());
  EXPECT_EQ(ReadBytes(path), "k = 1\n");
}

// Without write permission the file is read but never changed; without
// read permission defaults are read and nothing is written either.
TEST(IniFile, ReadOnlyOrUnreadableFile_NeverChanged) {
  for (const mode_t mode : {0444, 0200}) {
    SCOPED_TRACE(mode);
    ScratchDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const std::string path = dir.file("orvo.prefs");
    WriteBytes(path, "[player]\r\nwindowx=1\r\n");
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    const bool readable = mode == 0444;
    EXPECT_TRUE(test::RunUnprivileged([&] {
      IniFile file;
      if (file.open(path) != readable || file.selectGroup("player") != readable ||
          file.readInteger("windowx", 9) != (readable ? 1 : 9)) {
        return false;
      }
      file.writeInteger("windowx", 5);
      return !file.close();
    }));
    EXPECT_EQ(ReadBytes(path), "[player]\r\nwindowx=1\r\n");
  }
}

TEST(IniFile, Create_StartsEmptyAndReplacesOldFile) {
  ScratchDir dir;
  const std::string path = dir.file("orvo.prefs");
  WriteBytes(path, "\xEF\xBB\xBFold = 1\n[g]\n");
  IniFile file;
  ASSERT_TRUE(file.create(path));
  EXPECT_EQ(file.readInteger("old", 3), 3);
  // Until close the old file is whole.
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBFold = 1\n[g]\n");
  file.writeString("a", "\xE9");
  EXPECT_TRUE(file.close());
  EXPECT_EQ(ReadBytes(path), "a = \xE9\n");

  ASSERT_TRUE(file.create(path));
  EXPECT_TRUE(file.close());
  EXPECT_EQ(ReadBytes(path), "");

  // A file that cannot be made takes no writes and close makes nothing.
  EXPECT_FALSE(file.create(dir.file("missing/orvo.prefs")));
  file.writeInteger("repeat", 1);
  EXPECT_EQ(file.readInteger("repeat", 8), 8);
  (void)file.close();
  EXPECT_FALSE(Exists(dir.file("missing")));
}

TEST(IniFile, OpeningAnother_ClosesTheFirstWithWriteBack) {
  ScratchDir dir;
  WriteBytes(dir.file("a.ini"), "x=1\n");
  WriteBytes(dir.file("b.ini"), "y=2\n");
  {
    IniFile file;
    ASSERT_TRUE(file.open(dir.file("a.ini")));
    file.writeInteger("x", 5);
    ASSERT_TRUE(file.open(dir.file("b.ini")));
    EXPECT_EQ(file.readInteger("x", 0), 0);
    file.writeInteger("y", 6);
  }  // the destructor closes too
  EXPECT_EQ(ReadBytes(dir.file("a.ini")), "x = 5\n");
  EXPECT_EQ(ReadBytes(dir.file("b.ini")), "y = 6\n");
}

}  // namespace
}  // namespace orvo
