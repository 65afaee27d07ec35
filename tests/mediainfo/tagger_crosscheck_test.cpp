// Songs tagged by real encoders and taggers read back as written: Latin-1
// texts byte for byte, UTF-8 texts as their bytes, UTF-16 texts as the bytes
// before the first zero byte.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mediainfo/song_info.h"
#include "song_bytes.h"

namespace orvo::test {
namespace {

// Texts with accented letters, in Latin-1 and in UTF-8 for tools that take
// their arguments in the locale's encoding.
const std::string kArtist = "Caf\xE9 Ensemble";
const std::string kTitle = "Ti\xE8tle d'\xE9t\xE9";
const std::string kAlbum = "Alb\xFCm Gr\xF6\xDF";

std::string Utf8(const std::string& latin1) {
  std::string out;
  for (unsigned char c : latin1) {
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xC0 | c >> 6);
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Runs a tool under a UTF-8 locale; its output is dropped.
bool RunTool(const std::vector<std::string>& args) {
  std::string command = "LC_ALL=C.UTF-8";
  for (const std::string& arg : args) {
    command += " '";
    for (char c : arg) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
    command += "'";
  }
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool HaveTool(const std::string& name) { return RunTool({"sh", "-c", "command -v '" + name + "'"}); }

// How the texts come back: as the Latin-1 bytes given, as their UTF-8
// bytes, or, for UTF-16, the byte-order mark and the first letter's low byte.
enum class Expect { kLatin1, kUtf8, kUtf16Start };

struct Tagging {
  const char* name;
  const char* tool;
  // Arguments; "@song" and "@wav" stand for the files, "@artist", "@title"
  // and "@album" for the texts in Latin-1, "@u8..." for them in UTF-8.
  std::vector<std::string> args;
  Expect expect;
};

const Tagging kTaggings[] = {
    {"Id3v2ToolV23AndV1", "id3v2", {"id3v2", "-a", "@artist", "-t", "@title", "-A", "@album", "@song"},
     Expect::kLatin1},
    {"Id3v2ToolV1Only", "id3v2", {"id3v2", "-1", "-a", "@artist", "-t", "@title", "-A", "@album", "@song"},
     Expect::kLatin1},
    {"EyeD3V23", "eyeD3",
     {"eyeD3", "-Q", "--to-v2.3", "--encoding", "latin1", "-a", "@u8artist", "-t", "@u8title", "-A", "@u8album",
      "@song"},
     Expect::kLatin1},
    {"EyeD3V24", "eyeD3",
     {"eyeD3", "-Q", "--to-v2.4", "--encoding", "latin1", "-a", "@u8artist", "-t", "@u8title", "-A", "@u8album",
      "@song"},
     Expect::kLatin1},
    {"Mid3v2V24Utf8", "mid3v2", {"mid3v2", "-a", "@u8artist", "-t", "@u8title", "-A", "@u8album", "@song"},
     Expect::kUtf8},
    {"LameLatin1", "lame",
     {"lame", "--quiet", "--id3v2-latin1", "--tt", "@u8title", "--ta", "@u8artist", "--tl", "@u8album", "@wav",
      "@song"},
     Expect::kLatin1},
    {"LameV1Only", "lame",
     {"lame", "--quiet", "--id3v1-only", "--tt", "@u8title", "--ta", "@u8artist", "--tl", "@u8album", "@wav",
      "@song"},
     Expect::kLatin1},
    {"LameUtf16", "lame",
     {"lame", "--quiet", "--tt", "@u8title", "--ta", "@u8artist", "--tl", "@u8album", "@wav", "@song"},
     Expect::kUtf16Start},
};

class TaggedByTool : public ::testing::TestWithParam<Tagging> {
 protected:
  // One untagged song and its source for the whole suite.
  static void SetUpTestSuite() {
    folder_ = std::make_unique<TempFolder>();
    wav_ = folder_->path() + "/tone.wav";
    plain_ = folder_->path() + "/plain.mp3";
    if (!HaveTool("sox") || !HaveTool("lame") ||
        !RunTool({"sox", "-n", "-r", "44100", "-c", "2", "-b", "16", wav_, "synth", "0.5", "sine", "440"}) ||
        !RunTool({"lame", "--quiet", wav_, plain_})) {
      plain_.clear();
    }
  }
  static void TearDownTestSuite() { folder_.reset(); }

  static std::unique_ptr<TempFolder> folder_;
  static std::string wav_;
  static std::string plain_;
};

std::unique_ptr<TempFolder> TaggedByTool::folder_;
std::string TaggedByTool::wav_;
std::string TaggedByTool::plain_;

TEST_P(TaggedByTool, ArtistTitleAlbum_ReadBackAsWritten) {
  const Tagging& tagging = GetParam();
  if (plain_.empty()) GTEST_SKIP() << "sox or lame is missing";
  if (!HaveTool(tagging.tool)) GTEST_SKIP() << tagging.tool << " is missing";
  const std::string song = folder_->path() + "/" + tagging.name + ".mp3";
  std::filesystem::copy_file(plain_, song, std::filesystem::copy_options::overwrite_existing);

  const std::vector<std::pair<std::string, std::string>> words = {
      {"@song", song},           {"@wav", wav_},          {"@artist", kArtist},
      {"@title", kTitle},        {"@album", kAlbum},      {"@u8artist", Utf8(kArtist)},
      {"@u8title", Utf8(kTitle)}, {"@u8album", Utf8(kAlbum)}};
  std::vector<std::string> args = tagging.args;
  for (std::string& arg : args) {
    for (const auto& [word, value] : words) {
      if (arg == word) arg = value;
    }
  }
  ASSERT_TRUE(RunTool(args));

  auto expected = [&](const std::string& text) {
    switch (tagging.expect) {
      case Expect::kUtf8: return Utf8(text);
      case Expect::kUtf16Start: return "\xFF\xFE" + text.substr(0, 1);
      case Expect::kLatin1: break;
    }
    return text;
  };
  SongInfo info;
  EXPECT_TRUE(ReadSongInfo(song, info));
  EXPECT_EQ(info.artist, expected(kArtist));
  EXPECT_EQ(info.title, expected(kTitle));
  EXPECT_EQ(info.album, expected(kAlbum));
}

INSTANTIATE_TEST_SUITE_P(Taggers, TaggedByTool, ::testing::ValuesIn(kTaggings),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace orvo::test
