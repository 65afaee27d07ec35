// Songs tagged by real encoders and taggers read back as written: Latin-1
// texts byte for byte, UTF-8 texts as their bytes, UTF-16 texts as the bytes
// before the first zero byte.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mediainfo/song_info.h"
#include "song_bytes.h"

extern char** environ;

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

bool HaveTool(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t end = std::min(dirs.find(':', start), dirs.size());
    if (access((dirs.substr(start, end - start) + "/" + name).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Runs a tool without a shell under a UTF-8 locale; its output is dropped.
bool RunTool(std::vector<std::string> args) {
  std::vector<std::string> env = {"LC_ALL=C.UTF-8"};
  for (char** e = environ; *e; ++e) {
    if (std::string(*e).rfind("LC_ALL=", 0) != 0) env.emplace_back(*e);
  }
  auto pointers = [](std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
  };
  std::vector<char*> argv = pointers(args);
  std::vector<char*> envp = pointers(env);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class TaggedByTools : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = std::make_unique<TempFolder>();
    if (!HaveTool("sox") || !HaveTool("lame")) return;
    wav_ = folder_->path() + "/tone.wav";
    plain_ = folder_->path() + "/plain.mp3";
    if (!RunTool({"sox", "-n", "-r", "44100", "-c", "2", "-b", "16", wav_, "synth", "0.5", "sine", "440"}) ||
        !RunTool({"lame", "--quiet", "-b", "128", wav_, plain_})) {
      plain_.clear();
    }
  }
  static void TearDownTestSuite() { folder_.reset(); }

  // A copy of the untagged song, or a skip when a tool is missing.
  std::string Song(const std::string& name, const std::string& tool) {
    if (plain_.empty()) return std::string();
    if (!HaveTool(tool)) return std::string();
    const std::string path = folder_->path() + "/" + name;
    std::filesystem::copy_file(plain_, path, std::filesystem::copy_options::overwrite_existing);
    return path;
  }

  SongInfo ReadBack(const std::string& path) {
    SongInfo info;
    EXPECT_TRUE(ReadSongInfo(path, info)) << path;
    return info;
  }

  static std::unique_ptr<TempFolder> folder_;
  static std::string wav_;
  static std::string plain_;
};

std::unique_ptr<TempFolder> TaggedByTools::folder_;
std::string TaggedByTools::wav_;
std::string TaggedByTools::plain_;

#define SKIP_WITHOUT(path, tool) \
  if ((path).empty()) GTEST_SKIP() << "needs sox, lame and " << (tool)

TEST_F(TaggedByTools, Id3v2Tool_V23AndV1Latin1_ReadExactly) {
  const std::string song = Song("id3v2.mp3", "id3v2");
  SKIP_WITHOUT(song, "id3v2");
  ASSERT_TRUE(RunTool({"id3v2", "-a", kArtist, "-t", kTitle, "-A", kAlbum, song}));
  const SongInfo info = ReadBack(song);
  EXPECT_EQ(info.artist, kArtist);
  EXPECT_EQ(info.title, kTitle);
  EXPECT_EQ(info.album, kAlbum);
}

TEST_F(TaggedByTools, Id3v2Tool_V1Only_FieldsCutToThirtyBytes) {
  const std::string song = Song("id3v1.mp3", "id3v2");
  SKIP_WITHOUT(song, "id3v2");
  const std::string longTitle = kTitle + " and a title longer than thirty";
  ASSERT_TRUE(RunTool({"id3v2", "-1", "-a", kArtist, "-t", longTitle, "-A", kAlbum, song}));
  const SongInfo info = ReadBack(song);
  EXPECT_EQ(info.artist, kArtist);
  EXPECT_EQ(info.title, longTitle.substr(0, 30));
  EXPECT_EQ(info.album, kAlbum);
}

TEST_F(TaggedByTools, EyeD3_V23AndV24Latin1_ReadExactly) {
  for (const char* version : {"--to-v2.3", "--to-v2.4"}) {
    const std::string song = Song(std::string("eyed3") + version + ".mp3", "eyeD3");
    SKIP_WITHOUT(song, "eyeD3");
    ASSERT_TRUE(RunTool({"eyeD3", "-Q", version, "--encoding", "latin1", "-a", Utf8(kArtist), "-t", Utf8(kTitle),
                     "-A", Utf8(kAlbum), song}));
    const SongInfo info = ReadBack(song);
    EXPECT_EQ(info.artist, kArtist) << version;
    EXPECT_EQ(info.title, kTitle) << version;
    EXPECT_EQ(info.album, kAlbum) << version;
  }
}

TEST_F(TaggedByTools, Mid3v2_V24Utf8_BytesAsWritten) {
  const std::string song = Song("mid3v2.mp3", "mid3v2");
  SKIP_WITHOUT(song, "mid3v2");
  ASSERT_TRUE(RunTool({"mid3v2", "-a", Utf8(kArtist), "-t", Utf8(kTitle), "-A", Utf8(kAlbum), song}));
  const SongInfo info = ReadBack(song);
  EXPECT_EQ(info.artist, Utf8(kArtist));
  EXPECT_EQ(info.title, Utf8(kTitle));
  EXPECT_EQ(info.album, Utf8(kAlbum));
}

TEST_F(TaggedByTools, Lame_Latin1Tags_ReadExactly) {
  const std::string song = Song("lame-latin1.mp3", "lame");
  SKIP_WITHOUT(song, "lame");
  ASSERT_TRUE(RunTool({"lame", "--quiet", "-b", "128", "--id3v2-latin1", "--tt", Utf8(kTitle), "--ta", Utf8(kArtist),
                   "--tl", Utf8(kAlbum), wav_, song}));
  const SongInfo info = ReadBack(song);
  EXPECT_EQ(info.artist, kArtist);
  EXPECT_EQ(info.title, kTitle);
  EXPECT_EQ(info.album, kAlbum);
}

TEST_F(TaggedByTools, Lame_V1Only_ReadFromEndOfFile) {
  const std::string song = Song("lame-v1.mp3", "lame");
  SKIP_WITHOUT(song, "lame");
  ASSERT_TRUE(RunTool({"lame", "--quiet", "-b", "128", "--id3v1-only", "--tt", Utf8(kTitle), "--ta", Utf8(kArtist),
                   "--tl", Utf8(kAlbum), wav_, song}));
  const SongInfo info = ReadBack(song);
  EXPECT_EQ(info.artist, kArtist);
  EXPECT_EQ(info.title, kTitle);
  EXPECT_EQ(info.album, kAlbum);
}

TEST_F(TaggedByTools, Lame_Utf16Tags_ByteOrderMarkAndFirstLowByte) {
  const std::string song = Song("lame-utf16.mp3", "lame");
  SKIP_WITHOUT(song, "lame");
  ASSERT_TRUE(RunTool({"lame", "--quiet", "-b", "128", "--tt", Utf8(kTitle), "--ta", Utf8(kArtist), "--tl",
                   Utf8(kAlbum), wav_, song}));
  const SongInfo info = ReadBack(song);
  // Little-endian UTF-16: FF FE, then the first letter's low byte, then 0.
  EXPECT_EQ(info.artist, "\xFF\xFE" + kArtist.substr(0, 1));
  EXPECT_EQ(info.title, "\xFF\xFE" + kTitle.substr(0, 1));
  EXPECT_EQ(info.album, "\xFF\xFE" + kAlbum.substr(0, 1));
}

}  // namespace
}  // namespace orvo::test
